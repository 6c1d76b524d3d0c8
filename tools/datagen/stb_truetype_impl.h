#pragma once

// stb_truetype's declarations; its implementation is compiled once in stb_truetype_impl.cpp.
#include <stb_truetype.h>
