#pragma once
// A fuzz input fails by aborting, with the broken rule on standard error.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "load_check.h"

namespace tavrel::fuzz {

inline void Require(bool holds, const std::string& rule) {
    if (holds) return;
    std::fprintf(stderr, "broken rule: %s\n", rule.c_str());
    std::abort();
}

inline void RequireNoFault(const std::string& fault) { Require(fault.empty(), fault); }

}  // namespace tavrel::fuzz
