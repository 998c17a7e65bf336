#!/bin/sh
# The demo setup package: installs the demo product silently into the folder of -instdir (or
# /D=, which comes last and may hold blanks), and tells the installer what it does through the
# package line protocol on standard output. Self-contained: the product and its uninstaller
# travel inside this file.
set -u

folder=""
desktop=false
launcher=false
while [ $# -gt 0 ]; do
    case "$1" in
        -instdir=*) folder="${1#-instdir=}" ;;
        -dsc=*) desktop="${1#-dsc=}" ;;
        -ssc=*) launcher="${1#-ssc=}" ;;
        /D=*) [ -n "$folder" ] || folder="$(printf '%s' "$*" | cut -c4-)"; break ;;
    esac
    shift
done
folder="$(printf '%s' "$folder" | tr '\\' '/')"

say() { printf '%s\n' "$*"; }
step() { say "Progress=$1"; sleep 0.2; }
fail() { say "Error=$*"; exit 1; }

say "Encode=UTF8"
[ -n "$folder" ] || fail "没有安装目录"
step 0.05
mkdir -p "$folder" || fail "无法创建目录 $folder"
step 0.2

cat > "$folder/Quillon.exe" <<'PRODUCT' || fail "无法写入 $folder"
#!/bin/sh
# The demo product.
here="$(cd "$(dirname "$0")" && pwd)"
echo "奎隆 (Quillon demo) is installed in $here"
PRODUCT
chmod 755 "$folder/Quillon.exe"
step 0.45

cat > "$folder/uninst.ep" <<'UNINSTALLER' || fail "无法写入 $folder"
#!/bin/sh
# The demo product's uninstaller. It runs from a copy; the folder to empty comes after "_?="
# at the end of the command line and may hold blanks.
folder=""
while [ $# -gt 0 ]; do
    case "$1" in
        _\?=*) folder="$(printf '%s' "$*" | cut -c4-)"; break ;;
    esac
    shift
done
folder="$(printf '%s' "$folder" | tr '\\' '/')"
printf 'Encode=UTF8\n'
if [ -z "$folder" ] || [ ! -f "$folder/Quillon.exe" ]; then
    printf 'Error=没有找到要卸载的奎隆: %s\n' "$folder"
    exit 1
fi
printf 'Progress=0.3\n'
desktop_dir="${XDG_DESKTOP_DIR:-$HOME/Desktop}"
data_dir="${XDG_DATA_HOME:-$HOME/.local/share}"
for entry in "$desktop_dir/quillon-demo.desktop" "$data_dir/applications/quillon-demo.desktop"; do
    if [ -f "$entry" ] && grep -qF "Exec=\"$folder/Quillon.exe\"" "$entry"; then
        rm -f "$entry"
    fi
done
sleep 0.2
printf 'Progress=0.7\n'
rm -f "$folder/Quillon.exe" "$folder/set.ini" "$folder/uninst.ep"
rmdir "$folder" 2>/dev/null
printf 'Progress=1\nState=Success\n'
UNINSTALLER
chmod 755 "$folder/uninst.ep"
step 0.6

printf '[Uninstall]\nIsOverride=true\n' > "$folder/set.ini"
step 0.7

entry() {
    mkdir -p "$(dirname "$1")" || return
    cat > "$1" <<ENTRY
[Desktop Entry]
Type=Application
Name=奎隆
Comment=Quillon demo
Exec="$folder/Quillon.exe"
Terminal=true
ENTRY
}
[ "$desktop" = true ] && entry "${XDG_DESKTOP_DIR:-$HOME/Desktop}/quillon-demo.desktop"
step 0.8
[ "$launcher" = true ] && entry "${XDG_DATA_HOME:-$HOME/.local/share}/applications/quillon-demo.desktop"
step 0.9

say "InstPath=$folder"
say "ExePath=$folder/Quillon.exe"
say "UninstEp=$folder/uninst.ep"
say "StartupStyle=UserStartup"
say "State=Success"
exit 0
