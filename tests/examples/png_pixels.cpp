// Decodes a PNG file with libpng, independently of the library that wrote it,
// and prints its width and height, then the red, green and blue of each pixel
// asked for.
// Usage: png_pixels FILE.png [X Y]...
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2 || argc % 2 != 0) {
    std::fprintf(stderr, "usage: %s FILE.png [X Y]...\n", argv[0]);
    return 2;
  }
  png_image Image{};
  Image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&Image, argv[1])) {
    std::fprintf(stderr, "%s: %s\n", argv[1], Image.message);
    return 1;
  }
  Image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> Pixels(PNG_IMAGE_SIZE(Image));
  if (!png_image_finish_read(&Image, nullptr, Pixels.data(), 0, nullptr)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], Image.message);
    return 1;
  }
  std::printf("%u %u\n", Image.width, Image.height);
  for (int I = 2; I < argc; I += 2) {
    const long X = std::strtol(argv[I], nullptr, 10), Y = std::strtol(argv[I + 1], nullptr, 10);
    if (X < 0 || Y < 0 || X >= static_cast<long>(Image.width) || Y >= static_cast<long>(Image.height)) {
      std::printf("%ld %ld outside\n", X, Y);
      continue;
    }
    const png_byte* P = &Pixels[(static_cast<std::size_t>(Y) * Image.width + static_cast<std::size_t>(X)) * 3];
    std::printf("%ld %ld %u %u %u\n", X, Y, P[0], P[1], P[2]);
  }
  return 0;
}
