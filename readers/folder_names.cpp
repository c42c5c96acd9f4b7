#include "readers/folder_names.h"

#include "text/text.h"

namespace quillfex {

bool namesAFile(std::string_view line) { return !line.empty(); }

bool namesBootManager(std::string_view line) { return lowerCase(line) == "bootmgr"; }

LinesReading<bool> windowsProbeIn(std::string_view listing) {
  LinesReading<bool> reading;
  CapturedLines lines(listing);
  while (!lines.atEnd()) {
    reading.lastLine = lines.readLine();
    if (namesAFile(*reading.lastLine)) reading.answer = true;
  }
  return reading;
}

LinesReading<bool> bootManagerFileIn(std::string_view listing) {
  LinesReading<bool> reading;
  CapturedLines lines(listing);
  while (!lines.atEnd()) {
    reading.lastLine = lowerCase(lines.readLine());
    if (namesBootManager(*reading.lastLine)) reading.answer = true;
  }
  return reading;
}

}  // namespace quillfex
