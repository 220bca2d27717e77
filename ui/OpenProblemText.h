#pragma once
// The explanation shown beneath a refused file's numbered message, in the user's language.
#include <string>

#include "archive/OpenProblem.h"

namespace ov {

// The reason with its values and, after a blank line, the next step; empty when nothing is known.
std::string ExplainProblem(const OpenProblem& p);

}  // namespace ov
