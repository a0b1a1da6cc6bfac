// Names and addresses the windows show.
#pragma once

namespace brisko::ui {

inline constexpr const char* kMainCaption = "Brisko ZIP Backup  V1.10";
inline constexpr const char* kProductLine = "Brisko ZIP Backup V1.10";
inline constexpr const char* kApplicationTitle = "Brisko ZIP Backup";
inline constexpr const char* kProductUrl = "https://brisko.example/zipbackup";
inline constexpr const char* kSupportMail = "support@brisko.example";

}  // namespace brisko::ui
