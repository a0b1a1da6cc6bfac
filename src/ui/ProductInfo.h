// Names the windows show.
#pragma once

#include "BriskoVersion.h"

namespace brisko::ui {

inline constexpr const char* kMainCaption = "Brisko ZIP Backup  V" BRISKO_VERSION;
inline constexpr const char* kProductLine = "Brisko ZIP Backup V" BRISKO_VERSION;
inline constexpr const char* kApplicationTitle = "Brisko ZIP Backup";
inline constexpr const char* kLicence = BRISKO_LICENCE;

}  // namespace brisko::ui
