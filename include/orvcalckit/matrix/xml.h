// Unit ORV_matrix: the number scanners that the XML tag handlers of the matrix
// components (ProcessXmlTag) read attribute and content texts with. Included
// through ORV_matrix.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "orvcalckit/ORV_export.h"

namespace orv {

// Both scanners take a 1-based position Pos in Text and leave it on the
// character that ended the number (one past the end when Text ended it). A Pos
// below 1 counts as 1; from a Pos past the end they find no number. They never
// read outside Text; of a text longer than 2^31 - 3 characters only that many
// are read.

// A signed decimal integer: blanks (character 32) are skipped, but not the
// last character of Text; then one "-" or "+"; then the digits. An empty Text
// gives 0 with Pos unchanged; no digit gives 0. A number beyond the 32-bit
// range saturates at -2147483648 or 2147483647.
// "  -42x" from 1: -42, Pos 6 (on the x).
ORV_API int32_t ParseIntegerAt(std::string_view Text, int32_t& Pos);

// A real number, scanned by this state machine over the characters from Pos
// ("e" counts as "E"; past the end of Text the character "Z" is assumed). A
// decimal separator is "." in DecimalMode 1, "," in 2, either in 3 (no
// character in other modes); it is tested before the other columns.
//
//   state                   separator  blank  + or -  digit  E                 other
//   1 start                 4          1      2       3      error             error
//   2 after sign            4          error  error   3      error             error
//   3 integer digits        4          end    end     3      6 (AllowExponent) end
//   4 after separator       error      end    end     5      6 (AllowExponent) end
//   5 fraction digits       error      end    end     5      6 (AllowExponent) end
//   6 after E               error      error  7       8      error             end
//   7 after exponent sign   error      error  error   8      error             end
//   8 exponent digits       end        end    end     8      end               end
//
// (E without AllowExponent: end.) The characters that lead to states 1 to 8
// form the number text, but of the exponent digits only those while the
// exponent read so far stays within 4200. On end the text is converted
// exactly (correctly rounded, no locale): leading blanks and a "+" skipped,
// "," read as ".", a text ending in "." read with a "0" appended, a mantissa
// without digits read as 0 ("-." is -0.0), and an exponent without digits
// ("1E", "2e-x") left out, so its mantissa is the value. On error the value is
// 0.0. The result is clamped to -uc_MaxDouble..uc_MaxDouble (1E400 gives
// uc_MaxDouble; a value below the smallest subnormal gives a signed 0).
// Examples (AllowExponent, mode 1): "1.5e3" 1500, "7." 7, "-.5" -0.5, "E5" 0
// with Pos 1; "2,5" in mode 2 is 2.5 and "2.5" is 2 with Pos on the point.
ORV_API double ParseRealAt(std::string_view Text, bool AllowExponent, int32_t DecimalMode, int32_t& Pos);

}  // namespace orv
