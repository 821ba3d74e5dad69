#include "FixedDecimal.h"

const char FixedDecimal::kDigitPairs[201] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
    "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";

std::size_t FixedDecimal::Write(double v, int decimals, char* out) {
  switch (decimals) {
    case 0: return Write<0>(v, out);
    case 1: return Write<1>(v, out);
    case 2: return Write<2>(v, out);
    case 3: return Write<3>(v, out);
    case 4: return Write<4>(v, out);
    default: return 0;
  }
}
