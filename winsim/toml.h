#pragma once
// toml++ for winsim, compiled into each program that uses it, so the Windows build of the editor needs no
// library of its own.

#ifndef TOML_HEADER_ONLY
#define TOML_HEADER_ONLY 1
#endif
#include <toml++/toml.h>
