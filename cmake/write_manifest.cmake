# Writes the packer's manifest for every archive entry found in CONTENT_DIR:
# one line per file, "archive-name<TAB>source-path", archive names with backslashes, sorted so
# that the archive comes out the same on every build. Sources of the importers (.ase) stay out.
# Usage: cmake -DCONTENT_DIR=dir -DMANIFEST=file -P write_manifest.cmake
file(GLOB_RECURSE entries RELATIVE ${CONTENT_DIR} LIST_DIRECTORIES false
     ${CONTENT_DIR}/*.dat ${CONTENT_DIR}/*.trk ${CONTENT_DIR}/*.txt ${CONTENT_DIR}/*.jpg
     ${CONTENT_DIR}/*.tga ${CONTENT_DIR}/*.ogg)
list(SORT entries)
set(text "")
foreach(entry IN LISTS entries)
  string(REPLACE "/" "\\" name "${entry}")
  string(APPEND text "${name}\t${CONTENT_DIR}/${entry}\n")
endforeach()
file(WRITE ${MANIFEST} "${text}")
list(LENGTH entries count)
message(STATUS "manifest: ${count} entries")
