#include "runctx/usage.h"

namespace morlane {
namespace {

std::string VersionText(const platform::Version& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision);
}

std::string HelpText(const platform::ProcessServices& process) {
  const std::string name = process.ExecutableBaseName();
  return "Usage: " + name + " [/EXTERNAL=M4TCFG [/LOGFILE=<path>] | /EXTERNAL=SILENT]\n" +
         "       " + name + " --help | --version\n" +
         "\n"
         "Service counter order editor: gives each machine of the project that has a service\n"
         "counter its position, stores the positions in the project's Program.ini and stamps the\n"
         "component's .cfg file.\n"
         "\n"
         "  (no arguments)     standalone: the window opens; OK stores, Cancel discards\n"
         "  /EXTERNAL=M4TCFG   integrated: started by the host configuration tool; errors go\n"
         "                     to the /LOGFILE path\n"
         "  /EXTERNAL=SILENT   silent: stores without a window; faults go to\n"
         "                     " +
         process.ServicePackLogPath() +
         "\n"
         "\n"
         "The program finds every file from its own place: it must lie in a folder directly\n"
         "below the project directory, beside its window module.\n"
         "\n"
         "Exit status: 0 stored or cancel confirmed; 1 ended by a failure without storing;\n"
         "2 the window is needed but cannot be shown (no display, or no window module);\n"
         "3 ended by a failure after part of the values was stored (\"Partly stored\").\n";
}

}  // namespace

std::optional<std::string> InformationRequested(const platform::ProcessServices& process) {
  const std::string commandLine = process.CommandLine();
  if (commandLine == "--help") return HelpText(process);
  if (commandLine == "--version") {
    return process.ExecutableBaseName() + " " + VersionText(process.ProgramVersion()) + "\n";
  }
  return std::nullopt;
}

}  // namespace morlane
