#!/usr/bin/env bash
# check_install.sh CMAKE BUILD_DIR WORK_DIR VERSION MODULE_DIR BINDIR DATADIR MANDIR APP_ID
# Installs BUILD_DIR into a new prefix under WORK_DIR (no root needed) and checks what lands there.
set -uo pipefail
cmake=$1 build=$2 work=$3 version=$4 moddir=$5 bindir=$6 datadir=$7 mandir=$8 id=$9
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

rm -rf "$work" && mkdir -p "$work" || exit 1
# A prefix with a space in it: nothing may depend on a tidy path.
P="$work/pre fix"
"$cmake" --install "$build" --prefix "$P" >"$work/install.log" 2>&1 || {
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
}

# Exactly these files, so a stray test library or a missing page both show up.
expected=(
  "$bindir/ostravue" "$bindir/ostravue-cli" "$moddir/libCQL_Ctrl_Player.so"
  "$datadir/applications/$id.desktop" "$datadir/metainfo/$id.metainfo.xml"
  "$datadir/mime/packages/$id.xml" "$datadir/icons/hicolor/scalable/apps/$id.svg"
  "$datadir/icons/hicolor/48x48/apps/$id.png" "$datadir/icons/hicolor/256x256/apps/$id.png"
  "$mandir/man1/ostravue.1.gz" "$mandir/man1/ostravue-cli.1.gz"
  "$datadir/doc/ostravue/copyright" "$datadir/doc/ostravue/changelog.gz"
  "$datadir/bash-completion/completions/ostravue" "$datadir/bash-completion/completions/ostravue-cli"
  "$datadir/zsh/vendor-completions/_ostravue" "$datadir/zsh/vendor-completions/_ostravue-cli"
  "$datadir/ostravue/translations/ostravue_de.qm" "$datadir/ostravue/translations/ostravue_es.qm"
  "$datadir/ostravue/translations/ostravue_zh_CN.qm"
)
actual=$(cd "$P" && find . -type f -o -type l | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" = "$wanted" ]; then pass "installed files"; else
  fail "installed files differ from the expected list:"
  diff <(echo "$wanted") <(echo "$actual")
fi
for exe in "$bindir/ostravue" "$bindir/ostravue-cli"; do
  [ -x "$P/$exe" ] || fail "$exe is not executable"
done

# PNG width and height are the big-endian words at bytes 16 and 20.
for size in 48 256; do
  f="$P/$datadir/icons/hicolor/${size}x${size}/apps/$id.png"
  dims=$(od -An -tu1 -j16 -N8 "$f" 2>/dev/null | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] && pass "icon $size" || fail "icon $size is $dims"
done

# The installed programs must not point back into the build folder.
for f in "$bindir/ostravue" "$bindir/ostravue-cli" "$moddir/libCQL_Ctrl_Player.so"; do
  if readelf -d "$P/$f" | grep -Eq 'R(UN)?PATH'; then fail "$f carries a library path"; fi
done

for exe in ostravue-cli ostravue; do
  # No display: the version must not need one.
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$P/$bindir/$exe" --version 2>/dev/null)
  if [ $? -eq 0 ] && [ "$out" = "$exe $version" ]; then pass "$exe --version: $out"; else
    fail "$exe --version printed '$out'"
  fi
done

# The validators the desktop and the software centres run.
desktop-file-validate "$P/$datadir/applications/$id.desktop" && pass "desktop entry" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$P/$datadir/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 &&
  pass "metainfo" || { cat "$work/as.log"; fail "appstreamcli validate"; }
xmllint --noout "$P/$datadir/mime/packages/$id.xml" && pass "MIME XML" || fail "xmllint"
for page in ostravue ostravue-cli; do
  warn=$(zcat "$P/$mandir/man1/$page.1.gz" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warn" ] && pass "man page $page" || fail "man page $page: $warn"
done

# The installed player finds its translations from its own folder.
out=$(env -u DISPLAY LANGUAGE=de "$P/$bindir/ostravue" --help 2>&1)
grep -q "Diese Hilfe zeigen und beenden." <<<"$out" && pass "German help" || fail "LANGUAGE=de: $out"

# The pages are made from the programs' --help: every option any help names is on the page.
for exe in ostravue ostravue-cli; do
  help=$(LANGUAGE=C "$P/$bindir/$exe" --help 2>&1)
  for c in $(awk '/^Commands:/ { f = 1; next } /^$/ { f = 0 } f && /^  [a-z]/ { print $1 }' <<<"$help"); do
    help+=$'\n'$(LANGUAGE=C "$P/$bindir/$exe" "$c" --help 2>&1)
  done
  page=$(MANWIDTH=200 man -l "$P/$mandir/man1/$exe.1.gz" 2>/dev/null | col -bx)
  missing=""
  for o in $(grep -oE -- '--[a-z][a-z0-9-]+' <<<"$help" | sort -u); do
    grep -qF -- "$o" <<<"$page" || missing+=" $o"
  done
  for s in KEYS "EXIT STATUS" EXAMPLES FILES; do
    [ $exe = ostravue-cli ] && [ "$s" = KEYS ] && continue
    grep -q "^$s" <<<"$page" || missing+=" (section $s)"
  done
  [ -z "$missing" ] && pass "man $exe has every option of --help" || fail "man $exe lacks:$missing"
done

# Completion: Tab after a command's first letters and after "--" offers what --help lists.
complete_words() {
  PATH="$P/$bindir:$PATH" bash -c '
    source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    "$(complete -p "$1" | awk "{print \$3}")"; printf "%s\n" "${COMPREPLY[@]}"' _ \
    "$P/$datadir/bash-completion/completions/$1" "${@:2}"
}
got=$(complete_words ostravue-cli ostravue-cli ex)
[ "$got" = export ] && pass "bash completes 'ostravue-cli ex'" || fail "bash completion gave '$got'"
got=$(complete_words ostravue-cli ostravue-cli snapshot --j)
[ "$got" = --json ] && pass "bash completes snapshot --j" || fail "bash completion gave '$got'"
got=$(complete_words ostravue ostravue --no-s)
[ "$got" = --no-settings ] && pass "bash completes ostravue --no-s" || fail "bash completion gave '$got'"
for f in _ostravue _ostravue-cli; do
  head -1 "$P/$datadir/zsh/vendor-completions/$f" | grep -q "^#compdef ${f#_}$" ||
    fail "$f does not start with #compdef"
done

# The MIME type is picked up: a .ysk in any case is named by it and opens in the player. The
# caches are what the package's triggers build; xdg-mime cannot take a data folder with a space.
ln -s "$P" "$work/prefix"
export XDG_DATA_HOME="$work/home-data" XDG_DATA_DIRS="$work/prefix/$datadir:/usr/share"
export XDG_CONFIG_HOME="$work/home-config" XDG_CONFIG_DIRS="$work/no-config"
update-mime-database "$P/$datadir/mime" || fail "update-mime-database"
update-desktop-database "$P/$datadir/applications" || fail "update-desktop-database"
"$P/$bindir/ostravue-cli" make-sample "$work/rec.ysk" --channels 4 --duration 30 --flat \
  >"$work/sample.log" 2>&1 || fail "make-sample with the installed ostravue-cli"
cp "$work/rec.ysk" "$work/REC.YSK"
for f in rec.ysk REC.YSK; do
  type=$(xdg-mime query filetype "$work/$f" 2>&1)
  [ "$type" = "application/x-ostravue-ysk" ] && pass "MIME type of $f" || fail "$f is '$type'"
done
app=$(xdg-mime query default application/x-ostravue-ysk 2>&1)
[ "$app" = "$id.desktop" ] && pass "opens with $app" || fail "default application is '$app'"

# The installed player, started from outside its tree, loads its module from the private folder
# (the only copy it can reach) and opens the file, so it shows no "Load Dll Fail.".
cd "$work" || exit 1
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" LD_LIBRARY_PATH= \
  "$P/$bindir/ostravue" rec.ysk >"$work/player.log" 2>&1 &
pid=$!
module="$(cd "$P/$moddir" && pwd -P)/libCQL_Ctrl_Player.so"
loaded=0 opened=0
for _ in $(seq 1 150); do
  kill -0 "$pid" 2>/dev/null || break
  grep -qF "$module" "/proc/$pid/maps" 2>/dev/null && loaded=1
  ls -l "/proc/$pid/fd" 2>/dev/null | grep -qF "$work/rec.ysk" && opened=1
  [ $loaded = 1 ] && [ $opened = 1 ] && break
  sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
  pass "player running"
  kill "$pid"
else
  fail "player ended early"
fi
wait "$pid" 2>/dev/null
[ $loaded = 1 ] && pass "module loaded from $module" || fail "decoder module not loaded"
[ $opened = 1 ] && pass "player opened the recording" || fail "recording not opened"
grep -F "Load Dll Fail." "$work/player.log" && fail "player reported Load Dll Fail."
[ $loaded = 1 ] && [ $opened = 1 ] || cat "$work/player.log"

# The Debian package as scripts/package makes it, checked the way the archive checks packages:
# no error and no warning may be left (informational notes and pedantic hints are reported).
cpack=$(dirname "$cmake")/cpack
if (cd "$build" && "$cpack" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1); then
  deb=$(ls "$work"/deb/ostravue_*.deb)
  if ! command -v lintian >/dev/null; then
    fail "lintian is not installed (scripts/install-deps installs it)"
  else
    lintian --pedantic --no-cfg "$deb" >"$work/lintian.log" 2>&1
    if grep -Eq '^[EW]: ' "$work/lintian.log"; then
      fail "lintian:"
      grep -E '^[EW]: ' "$work/lintian.log"
    else
      pass "lintian: $(grep -c '' "$work/lintian.log") note(s), no errors or warnings"
    fi
  fi
  dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -Eq 'post(inst|rm)' &&
    fail "the package has maintainer scripts (an ldconfig call?)"
else
  cat "$work/cpack.log"
  fail "cpack -G DEB"
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
