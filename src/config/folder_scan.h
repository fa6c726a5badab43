// Finding the request file in a chosen source folder: the first file, in the file
// system's order, whose upper-cased name contains "." and the held suffix.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tessaro {

// name and heldSuffix are Windows-1252; heldSuffix is already upper case.
bool config::NameMatchesSuffix(const std::string& name, const std::string& heldSuffix);

// Lists the files directly in folder (Windows-1252 path) and returns the first
// matching name. beforeEachFile runs before each file is looked at; when it returns
// false the scan ends without a result. A folder that cannot be listed gives no result.
std::optional<std::string> config::FindRequestFile(const std::string& folder, const std::string& heldSuffix,
                                           const std::function<bool()>& beforeEachFile);

// folder + "/" + name, without doubling the separator of a root folder.
std::string JoinFolderAndName(const std::string& folder, const std::string& name);

} // namespace tessaro
