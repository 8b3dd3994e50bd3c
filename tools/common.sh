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
