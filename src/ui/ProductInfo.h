// Names and addresses the windows show.
#pragma once

#include "BriskoVersion.h"

namespace brisko::ui {

inline constexpr const char* kMainCaption = "Brisko ZIP Backup  V" BRISKO_VERSION;
inline constexpr const char* kProductLine = "Brisko ZIP Backup V" BRISKO_VERSION;
inline constexpr const char* kApplicationTitle = "Brisko ZIP Backup";
inline constexpr const char* kProductUrl = "https://brisko.example/zipbackup";
inline constexpr const char* kSupportMail = "support@brisko.example";

}  // namespace brisko::ui
