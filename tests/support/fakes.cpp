#include "support/fakes.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace morlane::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "morlane-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool FileExistsOnDisk(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  const auto parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool FakeProcess::FileExists(const std::string& path) const {
  if (memoryFiles) return files.count(path) != 0;
  struct stat st {};
  return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FakeProcess::AppendToFile(const std::string& path, const std::string& bytes) {
  if (path.empty() || unwritable.count(path) != 0) return false;
  if (memoryFiles) {
    files[path] += bytes;
    return true;
  }
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::app);
  if (!out) return false;
  out << bytes;
  out.close();
  return static_cast<bool>(out);
}

platform::Choice ScriptedDialogs::ShowMessage(const platform::MessageRequest& request) {
  if (failures > 0) {
    --failures;
    throw std::runtime_error("message box failed");
  }
  shown.push_back(request);
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected message box: " << request.text;
    return request.defaultButton;
  }
  const platform::Choice answer = answers.front();
  answers.pop_front();
  return answer;
}

std::vector<std::string> ScriptedDialogs::Texts() const {
  std::vector<std::string> texts;
  for (const auto& box : shown)
    texts.push_back(box.text);
  return texts;
}

std::uint32_t UnusedProfile::GetString(std::string_view, std::string_view, std::string_view,
                                       char* buffer, std::uint32_t size, const std::string&) {
  ADD_FAILURE() << "unexpected INI read";
  if (size > 0) buffer[0] = '\0';
  return 0;
}

std::uint32_t UnusedProfile::GetInt(std::string_view, std::string_view, std::int32_t d,
                                    const std::string&) {
  ADD_FAILURE() << "unexpected INI read";
  return static_cast<std::uint32_t>(d);
}

int UnusedProfile::WriteString(std::string_view, std::string_view, std::string_view,
                               const std::string&) {
  ADD_FAILURE() << "unexpected INI write";
  return 0;
}

}  // namespace morlane::testing
