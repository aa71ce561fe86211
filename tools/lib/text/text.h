// Text helpers shared by the log readers: the core's (contest/text_util.h),
// so that a call or a tag folds and trims the same in the plug-in and in the
// tools. Log files are 8-bit text; only ASCII letters fold, whatever the locale.
#pragma once

#include "contest/text_util.h"

namespace tools {

using stats::EqualsNoCase;
using stats::IsBlank;
using stats::LowerAscii;
using stats::TrimBlanks;
using stats::UpperAscii;

}  // namespace tools
