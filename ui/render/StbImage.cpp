// The one translation unit that compiles stb_image's implementation; every
// other file includes the header for declarations only.
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"
