# Sourced by the grep benchmarks: makes the tree they search, `copies`
# copies of /usr/include under "$tree", once (kept until removed).
# Links are dereferenced (GNU grep -r skips links, tarnwick follows links
# to files, so neither side sees anything the other does not); no hidden
# names, no special files.
make_grep_tree() {
  [ -f "$tree/.complete" ] && return
  rm -rf "$tree"
  mkdir -p "$tree"
  for i in $(seq 1 "$copies"); do
    cp -rL /usr/include "$tree/copy$i" 2>/dev/null || true
  done
  find "$tree" -name '.*' -exec rm -rf {} + 2>/dev/null || true
  find "$tree" ! -type f ! -type d -delete
  touch "$tree/.complete"
}
