/* For platforms whose C library has no <features.h> (MinGW-w64): musl's
   math sources include it for feature macros they do not use here. */
#pragma once
