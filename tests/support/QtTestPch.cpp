// The unit that carries the Qt Test programs' precompiled header; see
// CMakeLists.txt beside it.
