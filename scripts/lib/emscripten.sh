# Sourced: use_debian_node_modules puts on NODE_PATH the folder where Debian
# installs its node modules (found from where its acorn package put acorn).
# Debian's emcc runs its JavaScript tools with the machine's node, which may
# not be Debian's; the tools need Debian's modules (acorn) all the same.
use_debian_node_modules() {
  local acorn
  acorn=$(dpkg-query -L node-acorn 2>/dev/null | sed -n 's#/acorn/package\.json$##p' | head -1)
  [ -n "$acorn" ] || { echo "Debian's node-acorn (a dependency of emscripten) is not installed" >&2; return 1; }
  export NODE_PATH=${NODE_PATH:+$NODE_PATH:}$acorn
}
