# Sourced by the package tests after they set root, build and name: packs
# the build into a scratch folder of the test's own (work, its packages in
# work/out) and readies a fresh Wine prefix there.
work="$build/$name"
rm -rf "$work"
mkdir -p "$work"
bash "$root/scripts/package.sh" "$build" "$work/out"

export VH_WINEPREFIX="$work/prefix"
source "$root/scripts/wine-env.sh"
vh_wine_prefix_ready
fail() { echo "$name: $*" >&2; exit 1; }
