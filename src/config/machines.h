// The project's machines and which of them carry a service counter.
#pragma once

#include <string>

namespace morlane {

class Session;

// Fills session.MachineNames: integrated from the product configuration ini ("NameM1".."NameM5",
// up to the first "-" or empty name), otherwise from the program ini ("NumberOfMachines").
void GetExistingMachines(Session& session, const std::string& configurationIniPath);

// "ValidMachines" of the component's .cfg file, unchanged; empty when missing.
std::string GetValidMachines(Session& session);

}  // namespace morlane
