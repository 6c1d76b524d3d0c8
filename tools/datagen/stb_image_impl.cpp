// stb_image (reading PNG/TGA/BMP) and stb_image_write, for the model preview only.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>
