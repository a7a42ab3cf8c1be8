#!/usr/bin/env bash
# run.sh NAME [ARGS...] — builds the x86_64 tree and runs one benchmark under
# Wine, from its own folder and with whatever stand-ins it needs.
#   paint    the pixel painters against memcpy of the same bytes
#   skin_load  a skin loaded through SkinName against a raw read of its files;
#            from its archive and stored against its folder; the decompression
#            stream against zlib's uncompress (--packed: only the packed part)
#   png      our PNG reader against the platform's codec
#   usb_rpc  transactions per second against the simulated device
#   trackbar  one track bar's full repaint, skinned, plain themed, classic and
#            native, and one fade step
#   imagelist  the alpha image list's rebuild per DPI level and its cached
#            drawing against the platform's image-list roads
#   html     a long tagged caption through the markup painter against
#            DrawTextA of its words
#   startup  Varnel's time to its first full paint in fresh processes, and the
#            share of the controls' start-up steps in it
#   page_control  one page control's full repaint, skinned, plain themed,
#            classic and native, and one tab fade step
#   scrollbars  a list box's skinned scroll bars painted, and one thumb-drag
#            step, against the platform's own bars of the same window
#   listbox  Tobrin's list box on its group box: the full repaint and one
#            line scrolled, skinned against its plain owner-drawn look
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
name="${1:-}"
case "$name" in
  paint | png | skin_load | trackbar | imagelist | html | page_control | scrollbars | listbox) ;;
  # The simulated programmer sits behind stand-ins of the USB and device-setup
  # DLLs, copied beside the benchmark; Wine must take them over its own.
  usb_rpc) export VARNEL_DLL_OVERRIDES="winusb,setupapi=n" ;;
  # The panel opens the MIDI mapper: the recording stand-in beside the
  # benchmark answers for the platform's.
  startup) export VARNEL_DLL_OVERRIDES="winmm=n,b" ;;
  *)
    echo "usage: benchmarks/run.sh paint|png|skin_load|trackbar|imagelist|html|startup|page_control|scrollbars|listbox|usb_rpc [ARGS...]" >&2
    exit 2
    ;;
esac
shift
source "$root/scripts/common.sh"
bash "$root/scripts/build.sh" x86_64 >/dev/null
exec bash "$root/scripts/wine-run.sh" "$BUILD_DIR/x86_64/benchmarks/$name/${name}_benchmark.exe" "$@"
