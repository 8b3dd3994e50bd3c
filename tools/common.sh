# Shared by the set-up commands: package checks and the 32-bit runner.

ORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ORV_JOBS=${ORV_JOBS:-$(nproc 2>/dev/null || echo 4)}  # parallel jobs of builds and tests
ORV_APT_UPDATED=0

die() { echo "error: $*" >&2; exit 1; }

# Installs the Debian packages that are missing, or explains what to install.
need_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  command -v apt-get >/dev/null || die "missing packages: ${missing[*]} (no apt-get on this machine)"
  if [ "$(id -u)" -ne 0 ]; then
    die "missing packages: ${missing[*]}; run this command as root or install them with: apt-get install ${missing[*]}"
  fi
  echo "installing: ${missing[*]}"
  if [ $ORV_APT_UPDATED -eq 0 ]; then
    apt-get update -qq || die "apt-get update failed"
    ORV_APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null \
    || die "could not install: ${missing[*]}"
}

# Prints the command that runs 32-bit programs here: nothing when the kernel runs
# them itself, else qemu-i386 (installed when missing).
i386_runner() {
  local dir
  dir=$(mktemp -d)
  printf 'int main(void){return 0;}\n' > "$dir/p.c"
  gcc -m32 "$dir/p.c" -o "$dir/p" 2>/dev/null || { rm -rf "$dir"; die "gcc -m32 cannot build (g++-multilib missing?)"; }
  if "$dir/p" 2>/dev/null; then
    rm -rf "$dir"
    return 0
  fi
  need_packages qemu-user >&2
  qemu-i386 "$dir/p" || { rm -rf "$dir"; die "32-bit programs do not run here, not even under qemu-i386"; }
  rm -rf "$dir"
  command -v qemu-i386
}

# The 32-bit builds of libpng and libjpeg for the i686 stage. Prints nothing
# when the system has them (libpng-dev:i386, libjpeg62-turbo-dev:i386), else
# the folder $1/root into which their packages were unpacked. As root, the
# i386 architecture is added and the packages of both word sizes are installed
# in one call (they are Multi-Arch: same, so apt moves both to one version).
# Where apt cannot do that (an i386 index behind the 64-bit one, as during a
# mirror sync), the i386 packages are downloaded and unpacked into $1 instead,
# which changes nothing on the system; the build then links and runs them from
# there (cmake/toolchain-i686.cmake, ORV_I386_DEPS).
I386_IMAGE_DEBS=(libpng-dev libpng16-16 libjpeg62-turbo-dev libjpeg62-turbo zlib1g-dev zlib1g)
i386_image_libs() {
  local dir=$1 p missing=0
  for p in libpng-dev:i386 libjpeg62-turbo-dev:i386; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing=1
  done
  [ $missing -eq 0 ] && return 0
  if [ -f "$dir/root/usr/include/jpeglib.h" ] && [ -e "$dir/root/usr/lib/i386-linux-gnu/libz.so" ]; then
    echo "$dir/root"
    return 0
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    [ "$(id -u)" -eq 0 ] || die "the 32-bit build needs libpng and libjpeg for i386; as root run: dpkg --add-architecture i386 && apt-get update && apt-get install libpng-dev libjpeg62-turbo-dev libpng-dev:i386 libjpeg62-turbo-dev:i386"
    dpkg --add-architecture i386
  fi
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq >/dev/null 2>&1 || true  # a failing index shows in the install below
    if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libpng-dev libjpeg62-turbo-dev libpng-dev:i386 \
      libjpeg62-turbo-dev:i386 >/dev/null 2>&1; then
      return 0
    fi
    echo "(apt cannot install the i386 image libraries beside the 64-bit ones here: unpacking them into $dir)" >&2
  fi
  rm -rf "$dir"
  mkdir -p "$dir/debs" "$dir/root"
  (cd "$dir/debs" && apt-get download "${I386_IMAGE_DEBS[@]/%/:i386}" >/dev/null 2>&1) \
    || die "could not download the i386 packages ${I386_IMAGE_DEBS[*]}"
  for p in "$dir"/debs/*.deb; do dpkg -x "$p" "$dir/root"; done
  echo "$dir/root"
}
