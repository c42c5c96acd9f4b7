// Terminal input to key codes: every key of the extended-key table in the xterm forms with each modifier,
// the other terminals' forms, characters, and sequences that arrive in parts or broken.

#include "screen/drivers/tty_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillfex {
namespace {

using Codes = std::vector<KeyCode>;

Codes codesOf(std::string_view bytes, InputEnd end = InputEnd::final) { return parseTerminalKeys(bytes, end).codes; }

KeyCode extended(int second) { return extendedKey(second); }

// xterm's modifier parameter with the key's sequence: %d stands for it.
std::string withModifier(const std::string& form, int modifier) {
  const auto at = form.find("%d");
  return form.substr(0, at) + std::to_string(modifier) + form.substr(at + 2);
}

TEST(TtyKeysTest, EveryTableKeyWithEachModifier) {
  struct Case {
    const char* name;
    std::string alone, modified;  // modified holds %d for the modifier parameter
    int plain, shift, ctrl;       // the second character pollKey returns; 0: nothing queued
  };
  const Case cases[] = {
      {"Up", "\x1B[A", "\x1B[1;%dA", 0x48, 0x48, 0x8D},     {"Down", "\x1B[B", "\x1B[1;%dB", 0x50, 0x50, 0x91},
      {"Left", "\x1B[D", "\x1B[1;%dD", 0x4B, 0x4B, 0x73},   {"Right", "\x1B[C", "\x1B[1;%dC", 0x4D, 0x4D, 0x74},
      {"Home", "\x1B[H", "\x1B[1;%dH", 0x47, 0x47, 0x77},   {"End", "\x1B[F", "\x1B[1;%dF", 0x4F, 0x4F, 0x75},
      {"PgUp", "\x1B[5~", "\x1B[5;%d~", 0x49, 0x49, 0x84},  {"PgDn", "\x1B[6~", "\x1B[6;%d~", 0x51, 0x51, 0x76},
      {"Ins", "\x1B[2~", "\x1B[2;%d~", 0x52, 0x52, 0x92},   {"Del", "\x1B[3~", "\x1B[3;%d~", 0x53, 0x53, 0x93},
      {"F1", "\x1BOP", "\x1B[1;%dP", 0x3B, 0x54, 0x5E},     {"F2", "\x1BOQ", "\x1B[1;%dQ", 0x3C, 0x55, 0x5F},
      {"F3", "\x1BOR", "\x1B[1;%dR", 0x3D, 0x56, 0x60},     {"F4", "\x1BOS", "\x1B[1;%dS", 0x3E, 0x57, 0x61},
      {"F5", "\x1B[15~", "\x1B[15;%d~", 0x3F, 0x58, 0x62},  {"F6", "\x1B[17~", "\x1B[17;%d~", 0x40, 0x59, 0x63},
      {"F7", "\x1B[18~", "\x1B[18;%d~", 0x41, 0x5A, 0x64},  {"F8", "\x1B[19~", "\x1B[19;%d~", 0x42, 0x5B, 0x65},
      {"F9", "\x1B[20~", "\x1B[20;%d~", 0x43, 0x5C, 0x66},  {"F10", "\x1B[21~", "\x1B[21;%d~", 0, 0, 0},
      {"F11", "\x1B[23~", "\x1B[23;%d~", 0x85, 0x87, 0x89}, {"F12", "\x1B[24~", "\x1B[24;%d~", 0x86, 0x88, 0x8A},
  };
  const auto expected = [](int second) { return second == 0 ? Codes{} : Codes{extended(second)}; };
  for (const Case& c : cases) {
    EXPECT_EQ(codesOf(c.alone), expected(c.plain)) << c.name;
    EXPECT_EQ(codesOf(withModifier(c.modified, 1)), expected(c.plain)) << c.name << " with parameter 1";
    EXPECT_EQ(codesOf(withModifier(c.modified, 2)), expected(c.shift)) << "Shift+" << c.name;
    EXPECT_EQ(codesOf(withModifier(c.modified, 5)), expected(c.ctrl)) << "Ctrl+" << c.name;
    EXPECT_EQ(codesOf(withModifier(c.modified, 3)), Codes{}) << "Alt+" << c.name;
    EXPECT_EQ(codesOf(withModifier(c.modified, 6)), Codes{}) << "Ctrl+Shift+" << c.name;
    EXPECT_EQ(codesOf(withModifier(c.modified, 7)), Codes{}) << "Ctrl+Alt+" << c.name;
    EXPECT_EQ(codesOf(withModifier(c.modified, 9)), Codes{}) << "Meta+" << c.name;
  }
}

TEST(TtyKeysTest, OtherFormsAndCharacters) {
  struct Case {
    const char* name;
    std::string bytes;
    Codes codes;
  };
  const Case cases[] = {
      {"application-mode Up", "\x1BOA", {extended(0x48)}},
      {"application-mode End", "\x1BOF", {extended(0x4F)}},
      {"VT220 Home", "\x1B[1~", {extended(0x47)}},
      {"rxvt End", "\x1B[8~", {extended(0x4F)}},
      {"VT220 F1", "\x1B[11~", {extended(0x3B)}},
      {"Linux console F5", "\x1B[[E", {extended(0x3F)}},
      {"rxvt Shift+Up", "\x1B[a", {extended(0x48)}},
      {"rxvt Ctrl+Left", "\x1BOd", {extended(0x73)}},
      {"rxvt Shift+Del", "\x1B[3$", {extended(0x53)}},
      {"rxvt Ctrl+PgUp", "\x1B[5^", {extended(0x84)}},
      {"rxvt Ctrl+Shift+Ins", "\x1B[2@", {}},
      {"old xterm Ctrl+F1", "\x1BO5P", {extended(0x5E)}},
      {"keypad Enter and 0", "\x1BOM\x1BOp", {13, '0'}},
      {"Shift+Tab", "\x1B[Z", {9}},
      {"Enter, Ctrl+Enter, Tab", "\r\n\t", {13, 10, 9}},
      {"Backspace as DEL and as BS", "\x7F\b", {8, 8}},
      {"Ctrl+C, Ctrl+Space", std::string("\x03\0", 2), {3}},
      {"letters", "aZ~ ", {'a', 'Z', '~', ' '}},
      {"e acute, sharp s, light shade", "\xC3\xA9\xC3\x9F\xE2\x96\x91", {0x82, 0xE1, 0xB0}},
      {"euro and emoji, not in code page 437", "\xE2\x82\xAC\xF0\x9F\x98\x80", {'?', '?'}},
      {"broken UTF-8", "\xA9x\xC3(\xE0\x80\xAF", {'x', '('}},
      {"Escape, then Escape again", "\x1B\x1B", {27, 27}},
      {"Escape before a sequence", "\x1B\x1B[B", {27, extended(0x50)}},
      {"Alt+x, Alt+Enter, Alt+e acute", "\x1Bx\x1B\r\x1B\xC3\xA9", {}},
      {"a run of keys", "\x1B[Bq\r\x1BOA", {extended(0x50), 'q', 13, extended(0x48)}},
      {"reports and pastes that are no keys", "\x1B[200~x\x1B[?1;2cy\x1B[Iz", {'x', 'y', 'z'}},
      {"a sequence broken off by another", "\x1B[1;\x1B[B", {extended(0x50)}},
      {"a sequence broken off by Enter", "\x1B[1\r", {13}},
  };
  for (const Case& c : cases) EXPECT_EQ(codesOf(c.bytes), c.codes) << c.name;
}

TEST(TtyKeysTest, UnfinishedInputWaitsUnlessItIsFinal) {
  struct Case {
    const char* name;
    std::string bytes;
    std::size_t consumedWaiting;  // what a read that may go on uses
    Codes codesWaiting;
    Codes codesFinal;  // what the same bytes give once nothing more will come; all of them are used
  };
  const Case cases[] = {
      {"a lone Esc", "\x1B", 0, {}, {27}},
      {"Esc [", "\x1B[", 0, {}, {}},
      {"a parameter without its final", "\x1B[1;5", 0, {}, {}},
      {"the Linux console's second [", "\x1B[[", 0, {}, {}},
      {"half a character", "\xE2\x96", 0, {}, {}},
      {"a key, then Esc [", "a\x1B[", 1, {'a'}, {'a'}},
      {"Escape pressed, then a new Esc", "\x1B\x1B", 1, {27}, {27, 27}},
  };
  for (const Case& c : cases) {
    const TerminalKeys waiting = parseTerminalKeys(c.bytes, InputEnd::mayContinue);
    EXPECT_EQ(waiting.consumed, c.consumedWaiting) << c.name;
    EXPECT_EQ(waiting.codes, c.codesWaiting) << c.name;
    const TerminalKeys final = parseTerminalKeys(c.bytes, InputEnd::final);
    EXPECT_EQ(final.consumed, c.bytes.size()) << c.name;
    EXPECT_EQ(final.codes, c.codesFinal) << c.name;
  }
}

}  // namespace
}  // namespace quillfex
