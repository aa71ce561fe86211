# Writes SHA256SUMS in DIR for FILES (names within DIR), in the form that
# sha256sum -c reads: "<hash>  <name>", one per line.
set(out "")
foreach(name IN LISTS FILES)
  file(SHA256 "${DIR}/${name}" hash)
  string(APPEND out "${hash}  ${name}\n")
endforeach()
file(WRITE "${DIR}/SHA256SUMS" "${out}")
