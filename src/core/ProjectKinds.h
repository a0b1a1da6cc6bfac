// The stored codes of the archive-name suffix and of the schedule mode.
#pragma once

namespace brisko::core {

// Key "Suffix": what follows the prefix in archive names.
enum class SuffixKind { None = 0, Date = 1, Number = 2 };

// Key "BackupMode": 0 "Daily once at", 1 "Daily every" (minutes), 2 "Weekly every on", 3 "None".
enum class ScheduleMode { DailyAt = 0, DailyEvery = 1, Weekly = 2, None = 3 };

// Key "Encryption" ("AES256" or "Traditional"): the cipher of password-protected archives. A project
// without the key is Traditional, as every settings file written before the choice existed means.
enum class EncryptionKind { Traditional, Aes256 };
inline constexpr const char* kEncryptionAesCaption = "AES-256 (7-Zip, WinZip, current tools)";
inline constexpr const char* kEncryptionTraditionalCaption = "Traditional (every ZIP tool, weak)";

}  // namespace brisko::core
