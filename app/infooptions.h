#pragma once

#include <optional>

// --help and --version of kkt-programmer, answered on stdout before any window or display is
// needed (the manual page is made from them at build time). Every other argument goes to Qt as
// before. The exit status when one was answered, else nothing.
std::optional<int> AnswerInfoOption(int argc, const char *const *argv);
