#define STB_TRUETYPE_IMPLEMENTATION
#include "stb_truetype_impl.h"
