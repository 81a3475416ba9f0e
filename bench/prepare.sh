# Sourced by the benchmark scripts, from the project's root folder.

# Installs what is missing (the project's packages and those named before "--") and
# builds the release targets named after it.
#   build_release [packages...] -- targets...
build_release() {
  local packages=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    packages+=("$1")
    shift
  done
  shift
  scripts/install-deps.sh "${packages[@]}"
  cmake --preset release >/dev/null
  cmake --build --preset release --target "$@" >/dev/null
}

# Without a display, runs the benchmark again (its command line given) on an Xvfb screen.
#   on_a_screen "$0" args...
on_a_screen() {
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  fi
}
