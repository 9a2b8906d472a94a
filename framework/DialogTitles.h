// The titles of the framework's two message dialogs, which the kit's log
// names as well.
#pragma once

namespace fw {

constexpr const char* kErrorTitle = "Error";
constexpr const char* kInformationTitle = "Information";

}  // namespace fw
