/* For platforms without <endian.h> (MinGW-w64): musl's libm.h asks only for
   the byte order, and every target the math library is built for is little
   endian. */
#pragma once
#define __LITTLE_ENDIAN 1234
#define __BIG_ENDIAN 4321
#define __BYTE_ORDER __LITTLE_ENDIAN
