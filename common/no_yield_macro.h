// Some platform headers define Yield() as an empty macro (a leftover of
// 16-bit Windows). Headers that declare a function or method of that name
// include this, whatever was included before them.
#ifdef Yield
#undef Yield
#endif
