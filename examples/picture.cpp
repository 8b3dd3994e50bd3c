// A matrix as a picture: the correlation matrix of the wine measurements
// written as a PNG file (the usage text below says more).
#include <cstdint>
#include <cstdio>
#include <string>

#include <orvcalckit/orvcalckit.h>

#include "example_support.h"

namespace {

const char* const Usage =
    "Usage: orvcalckit_picture [OUTPUT.png]\n"
    "\n"
    "A matrix as a picture. The 13 measurements of the wine table go into a\n"
    "TMatrix; CalcCovar computes their correlation matrix; each correlation c\n"
    "becomes a colour, white for 0, shading to red for +1 and to blue for -1:\n"
    "  c >= 0: red 255, green = blue = RoundInt(255 (1 - c))\n"
    "  c <  0: red = green = RoundInt(255 (1 + c)), blue 255\n"
    "and SaveArrayAsImg writes the colours as a PNG picture, 10 x 10 pixels a\n"
    "cell: measurement i is column i from the left and row i from the top.\n"
    "The correlations are printed as well, rounded to two decimals.\n"
    "\n"
    "  (no argument)  the picture goes to wine_correlation.png\n"
    "  OUTPUT.png     the picture goes to this file (.bmp and .jpg also work)\n"
    "  -h, --help     this text\n"
    "\n"
    "The data the project carries: data/wine.csv, 178 wines from three cultivars\n"
    "of one region of Italy, 13 chemical measurements each (Forina et al., UCI\n"
    "Machine Learning Repository).\n"
    "\n"
    "Exit status: 0 done; 1 the data cannot be read or the picture not written;\n"
    "2 wrong arguments.\n";

constexpr int32_t Measurements = 13;
constexpr int32_t Scale = 10;

orv::TColor ColourOf(double C) {
  const int32_t Fade = orv::RoundInt(255 * (C >= 0 ? 1 - C : 1 + C));
  return C >= 0 ? 255 | Fade << 8 | Fade << 16 : Fade | Fade << 8 | 255 << 16;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int Exit = example::CheckArguments(argc, argv, Usage, 1); Exit >= 0) return Exit;
  const std::string Output = argc == 2 ? argv[1] : "wine_correlation.png";
  example::TTable Table;
  // 13 measurements and the cultivar, a number too.
  if (!example::ReadTable(example::DataFile("wine.csv"), Measurements + 1, false, Table)) return 1;
  orv::TMatrix Data(nullptr), Corr(nullptr);
  example::FillMatrix(Table, Data);
  Corr.Resize(Measurements, Measurements);
  if (!orv::CalcCovar(&Data, &Corr, 1, Measurements, 0, 0, orv::csCorrelation)) {
    std::fprintf(stderr, "CalcCovar failed\n");
    return 1;
  }

  std::printf("Correlations of the %d wine measurements (data/wine.csv, %d wines)\n", Measurements, Data.NrOfRows());
  std::printf("    ");
  for (int32_t J = 1; J <= Measurements; ++J) std::printf(" %5d", J);
  std::printf("\n");
  orv::TInt2DArray Picture(Measurements, orv::TIntArray(Measurements));
  for (int32_t I = 1; I <= Measurements; ++I) {
    std::printf("%4d", I);
    for (int32_t J = 1; J <= Measurements; ++J) {
      std::printf(" %5.2f", Corr.GetVal(J, I));
      Picture[static_cast<std::size_t>(J - 1)][static_cast<std::size_t>(I - 1)] = ColourOf(Corr.GetVal(J, I));
    }
    std::printf("  %s\n", Table.Names[static_cast<std::size_t>(I - 1)].c_str());
  }

  int32_t Result = 0;
  try {
    Result = orv::SaveArrayAsImg(Output, Picture, Scale);
  } catch (const orv::EInOutError& E) {
    std::fprintf(stderr, "%s: %s\n", Output.c_str(), E.what());
    return 1;
  }
  if (Result != 0) {
    std::fprintf(stderr, "%s: SaveArrayAsImg gave %d (the file name needs the extension .png, .bmp or .jpg)\n",
                 Output.c_str(), Result);
    return 1;
  }
  std::printf("\npicture: %s, %d x %d pixels\n", Output.c_str(), Measurements * Scale, Measurements * Scale);
  return 0;
}
