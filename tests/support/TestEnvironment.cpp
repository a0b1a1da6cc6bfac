#include "support/TestEnvironment.h"

#include "support/Files.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace brisko::test {

void SetEnv(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);
  else
    ::unsetenv(name.c_str());
#endif
}

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) old_ = old;
  SetEnv(name_, value);
}

ScopedEnv::~ScopedEnv() {
  SetEnv(name_, old_);
}

namespace {
void ResetTimeZone() {
#ifdef _WIN32
  _tzset();
#else
  tzset();
#endif
}
}  // namespace

ScopedTimeZone::ScopedTimeZone(const std::string& zone) {
  tz_.emplace("TZ", zone);
  ResetTimeZone();
}

ScopedTimeZone::~ScopedTimeZone() {
  tz_.reset();
  ResetTimeZone();
}

unsigned PermissionBits(const std::string& path) {
  return platform::StatFile(path).posixMode & 0777;
}

void SetPermissionBits(const std::string& path, unsigned mode) {
  std::error_code ec;
  std::filesystem::permissions(FsPath(path), static_cast<std::filesystem::perms>(mode), ec);
}

bool IsSuperuser() {
#ifdef _WIN32
  return false;
#else
  return ::geteuid() == 0;
#endif
}

}  // namespace brisko::test
