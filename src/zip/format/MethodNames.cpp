// Compression method numbers and their names (APPNOTE 4.4.5).
#include "zip/format/MethodNames.h"

namespace brisko::zip {

std::string MethodName(uint16_t method) {
  static const struct {
    uint16_t number;
    const char* name;
  } kNames[] = {{0, "Stored"},     {1, "Shrunk"},   {2, "Reduced1"},  {3, "Reduced2"},   {4, "Reduced3"},
                {5, "Reduced4"},   {6, "Imploded"}, {8, "Deflate"},   {9, "Deflate64"},  {10, "PKImplode"},
                {12, "BZip2"},     {14, "LZMA"},    {16, "IBM z/OS"}, {18, "IBM TERSE"}, {19, "LZ77"},
                {93, "Zstandard"}, {94, "MP3"},     {95, "XZ"},       {96, "JPEG"},      {97, "WavPack"},
                {98, "PPMd"},      {99, "AES"}};
  for (const auto& entry : kNames)
    if (entry.number == method) return entry.name;
  return "method " + std::to_string(method);
}

std::string UnsupportedMethodText(uint16_t method) {
  const std::string name = MethodName(method);
  const std::string number = "method " + std::to_string(method);
  return (name == number ? number : number + " (" + name + ")") + " is not supported";
}

}  // namespace brisko::zip
