#pragma once
// A machine description derived from a capture folder: the replica of a real machine that winsim builds for
// a rehearsal. Everything in it comes from the capture's files; what a capture cannot know, and what its
// files did not tell (a missing file, an export cut off, a listing in another language, values that
// contradict each other), is said in a # comment where it would stand, and nothing is guessed in its place.

#include <string>
#include <vector>

#include "winsim/replica/capture_folder.h"

namespace winsim {

struct ReplicaDescription {
  std::string text;                   // the machine description (TOML)
  std::vector<std::string> problems;  // what the capture's files did not tell, one line each (also in text)
};

ReplicaDescription describeCapture(const CaptureFolder& capture);

}  // namespace winsim
