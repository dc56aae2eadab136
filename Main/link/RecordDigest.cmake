# Writes the source of RecordedLibraryDigest() with the MD5 digest of the
# library just built. Called with -DLIBRARY=<file> -DOUTPUT=<source>.
file(MD5 "${LIBRARY}" digest)
string(TOUPPER "${digest}" digest)
file(WRITE "${OUTPUT}.tmp"
  "#include \"link/LibraryBinding.h\"\n\n"
  "std::string_view lnk::RecordedLibraryDigest() { return \"${digest}\"; }\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
