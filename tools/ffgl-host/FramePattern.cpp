#include "FramePattern.h"

#include <cstdio>

bool FramePattern::Parse(const std::string& name, std::string& error) {
  prefix.clear();
  suffix.clear();
  width = 0;
  hasNumber = false;
  std::string* into = &prefix;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] != '%') {
      *into += name[i];
      continue;
    }
    if (i + 1 < name.size() && name[i + 1] == '%') {
      *into += '%';
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    int digits = 0;
    while (j < name.size() && name[j] >= '0' && name[j] <= '9' && digits < 2) {
      width = width * 10 + (name[j] - '0');
      ++j;
      ++digits;
    }
    if (j >= name.size() || name[j] != 'd' || hasNumber) {
      error = "'" + name + "' is no valid frame pattern (use one %d or %0Nd, and %% for '%')";
      return false;
    }
    hasNumber = true;
    into = &suffix;
    i = j;
  }
  return true;
}

std::string FramePattern::Name(long number) const {
  if (!hasNumber) return prefix;
  char digits[32];
  std::snprintf(digits, sizeof digits, "%0*ld", width, number);
  return prefix + digits + suffix;
}
