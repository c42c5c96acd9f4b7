#pragma once
// Writing out the boot-configuration editor that the program carries as its helper payload.

#include "data/data_image.h"
#include "helper/command_lines.h"
#include "platform/os.h"

namespace quillfex {

// Decodes the items of `store` into helperFileName in the current directory,
// up to the item "EindeFini" (not written) or the end of the store, whichever comes first. Afterwards the file
// holds exactly the decoded bytes, whatever an earlier run left there. A file that cannot be written is not
// reported: the editor commands that run it later find out.
void extractHelper(Os& os, const ItemRecord* store);

// Writes out the editor the program carries. Only callers of this one need the data image linked in.
inline void extractHelper(Os& os) { extractHelper(os, payloadStore); }

}  // namespace quillfex
