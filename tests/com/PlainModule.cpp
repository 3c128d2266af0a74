// A shared library that loads fine but is no server: it exports none of
// the entry points.
extern "C" int PlainModuleAnswer() { return 42; }
