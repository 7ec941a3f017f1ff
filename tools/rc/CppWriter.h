// Writes a parsed resource file as a C++ source that registers the records with the
// platform's resource table when the module holding it is loaded.
#pragma once

#include "ResourceScript.h"

#include <ostream>

namespace rc {

void writeCpp(const ResourceScript& script, const std::string& sourceName, std::ostream& out);

}  // namespace rc
