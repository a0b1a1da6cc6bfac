// What differs for tests between POSIX and Windows: environment variables, the superuser, and skipping
// the tests that only one side can run.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace brisko::test {

// Sets an environment variable (removes it for nullopt) for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// Sets the time zone of the C library's local-time conversions for the life of the object.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const std::string& zone);
  ~ScopedTimeZone();

 private:
  std::optional<ScopedEnv> tz_;
};

void SetEnv(const std::string& name, const std::optional<std::string>& value);

// True for the POSIX superuser, whom file permissions do not stop.
bool IsSuperuser();

// The POSIX permission bits of a file (rwx for owner, group, others); 0 on Windows, which has none.
unsigned PermissionBits(const std::string& path);
// Sets them; on Windows a file without write bits gets the read-only attribute.
void SetPermissionBits(const std::string& path, unsigned mode);

}  // namespace brisko::test

// Tests of behaviour that exists on one side only say so and skip on the other.
#define BRISKO_POSIX_ONLY(reason) \
  if (::brisko::platform::kWindows) GTEST_SKIP() << "POSIX only: " << reason
#define BRISKO_WINDOWS_ONLY(reason) \
  if (!::brisko::platform::kWindows) GTEST_SKIP() << "Windows only: " << reason
