# shellcheck shell=bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows builds: Debian's source packages, fetched once into a cache.
#   source_of PACKAGE   prints the unpacked source folder of PACKAGE
# Needs $cache (the cache folder) and log().
: "${cache:?the sourcing script sets the cache folder}"
mkdir -p "$cache/src"
if ! grep -qs deb.debian.org /etc/apt/sources.list.d/zel2-sources.sources; then
  log "adding Debian's source archive"
  cat >/etc/apt/sources.list.d/zel2-sources.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt-get update -q >/dev/null
fi
source_of() {
  local folder
  folder=$(find "$cache/src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -1)
  if [ -z "$folder" ]; then
    log "fetching the source of $1"
    (cd "$cache/src" && apt-get source -q "$1" >/dev/null 2>&1) || true
    folder=$(find "$cache/src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -1)
  fi
  if [ -z "$folder" ]; then
    log "the source package $1 cannot be fetched from this machine's package archives"
    log "(apt-get source $1 found no files); put it unpacked in $cache/src/$1-VERSION and run again"
    exit 1
  fi
  echo "$folder"
}
