#pragma once
#include <string>

#include "QuorgenOptions.h"

namespace quor::tools {

// The window corrects what a user types in silence: it holds values to its spin ranges, reads
// only the leading number and skips a frequency it cannot play. A command line has no window
// to show the result, so quorgen refuses each such value instead of playing something else.
// Answers what is wrong with the first such value of the request, naming the option, the
// value and what the option allows at the chosen bandwidth; empty when every value given is
// played as written.
std::string toneValueError(const QuorgenRequest& request);

// The FSList item of --bandwidth, or of the window's first start without it: "11025".
const std::string& requestedBandwidth(const QuorgenRequest& request);

}  // namespace quor::tools
