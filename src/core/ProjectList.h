// The list of project names: lookup, sorted insertion, and its mirror in the Common section.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brisko::core {

// Position of a name in the list compared without regard to case (whole names), or -1.
int IndexOfProject(const std::vector<std::string>& list, std::string_view name);

// Inserts a name at its alphabetical place (without regard to case); returns its position.
int InsertProjectSorted(std::vector<std::string>& list, const std::string& name);

// "Project Count" / "Count0".. of Common in project.ini (empty names skipped).
std::vector<std::string> ReadProjectList(const std::string& dataDir);
// Writes "Project Count" and "Count0".. in list order; stale higher keys stay.
void WriteProjectList(const std::string& dataDir, const std::vector<std::string>& list);

}  // namespace brisko::core
