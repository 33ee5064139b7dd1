#!/bin/sh
# start: keeps one wineserver with Wine's own service processes alive for a
# whole test run, and gives the Windows programs a virtual display (Xvfb) and
# a sound server with a null sink "vsink" (PulseAudio) unless the caller
# already has them. The env file written here is read by wine-run.sh.
# stop: ends all of it.
# The caller's own display and sound server, before the session file speaks.
caller_display="${DISPLAY:-}"
caller_pulse="${PULSE_SERVER:-}"
. "$(dirname "$0")/wine-env.sh"
mkdir -p "$VELMORIN_SESSION"

stop_pid() {
  [ -f "$1" ] && kill "$(cat "$1")" 2>/dev/null
  rm -f "$1"
}

# Waits until the test "$2" holds, as long as the process in pid file $1
# lives, for a minute at most: on a machine busy building, a server may take
# seconds to come up, and a session without it fails every test that needs
# it. Says so and fails when it never comes.
wait_for() {
  for _ in $(seq 1200); do
    eval "$2" && return 0
    kill -0 "$(cat "$1")" 2>/dev/null || break
    sleep 0.05
  done
  echo "wine-server.sh: $3 did not start" >&2
  return 1
}

case "$1" in
  start)
    # A session left over from an interrupted run is ended first.
    stop_pid "$VELMORIN_SESSION/xvfb.pid"
    stop_pid "$VELMORIN_SESSION/pulse.pid"
    DISPLAY="$caller_display"
    PULSE_SERVER="$caller_pulse"
    # Everything started here is detached from our output: a service that a
    # test process started would inherit its pipe, and ctest would wait for it.
    : > "$VELMORIN_SESSION/env"
    if [ -z "$caller_display" ] && command -v Xvfb >/dev/null; then
      Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$VELMORIN_SESSION/display" \
        </dev/null >/dev/null 2>&1 &
      echo $! > "$VELMORIN_SESSION/xvfb.pid"
      wait_for "$VELMORIN_SESSION/xvfb.pid" '[ -s "$VELMORIN_SESSION/display" ]' Xvfb || exit 1
      echo "export DISPLAY=:$(cat "$VELMORIN_SESSION/display")" >> "$VELMORIN_SESSION/env"
    fi
    if [ -z "$caller_pulse" ] && command -v pulseaudio >/dev/null; then
      runtime="$VELMORIN_SESSION/pulse"
      mkdir -p "$runtime"
      PULSE_RUNTIME_PATH="$runtime" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
        --load="module-null-sink sink_name=vsink" \
        --load="module-native-protocol-unix socket=$runtime/native auth-anonymous=1" \
        --load="module-always-sink" </dev/null >/dev/null 2>&1 &
      echo $! > "$VELMORIN_SESSION/pulse.pid"
      wait_for "$VELMORIN_SESSION/pulse.pid" '[ -S "$runtime/native" ]' PulseAudio || exit 1
      echo "export PULSE_SERVER=unix:$runtime/native" >> "$VELMORIN_SESSION/env"
    fi
    . "$VELMORIN_SESSION/env"
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot -i </dev/null >/dev/null 2>&1
    # No window manager runs on our own display: Wine places every window
    # itself instead of waiting (2 s a time) for a manager that never answers.
    # On the caller's display the windows stay the manager's.
    if [ -z "$caller_display" ]; then managed=N; else managed=Y; fi
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f </dev/null >/dev/null 2>&1
    # The Japanese system fonts the program's skin and dialogs name, drawn
    # with the IPA fonts (fonts-ipafont-gothic) that are metric stand-ins.
    replacements='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$replacements" /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f </dev/null >/dev/null 2>&1
    wine reg add "$replacements" /v 'ＭＳ ゴシック' /d IPAGothic /f </dev/null >/dev/null 2>&1
    ;;
  stop)
    wineserver -k 2>/dev/null
    stop_pid "$VELMORIN_SESSION/xvfb.pid"
    stop_pid "$VELMORIN_SESSION/pulse.pid"
    rm -f "$VELMORIN_SESSION/env"
    ;;
esac
exit 0
