#!/bin/sh
# A print service for the tests that print through CUPS, with one queue "PDF"
# that writes each job as a PDF file into ~/PDF of the printing user.
#   cups_fixture.sh start <state-file>   start cupsd (unless one runs) and add the queue
#   cups_fixture.sh stop <state-file>    stop the cupsd that start started
# A scheduler that was already running is used as it is and left running.
set -u
action=$1
state=$2
socket=/run/cups/cups.sock

running() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

wait_until() { # <seconds> <command...>
  n=$(( $1 * 10 )); shift
  while [ "$n" -gt 0 ]; do
    if "$@"; then return 0; fi
    sleep 0.1
    n=$((n - 1))
  done
  return 1
}

fail() {
  echo "cups fixture: $*" >&2
  # Outside CI a machine without the rights to run cupsd skips these tests.
  if [ "${CI:-}" = "true" ]; then exit 1; fi
  echo "skip" > "$state"
  exit 0
}

case "$action" in
start)
  if running; then
    echo "theirs" > "$state"
  else
    [ -x /usr/sbin/cupsd ] || fail "cupsd is not installed"
    mkdir -p /run/cups 2>/dev/null
    # Detached, its output away from ctest, which would otherwise wait for it.
    setsid /usr/sbin/cupsd -f </dev/null >/dev/null 2>&1 &
    echo "$!" > "$state"
    wait_until 15 test -S "$socket" || fail "cupsd did not open $socket"
    wait_until 15 running || fail "cupsd does not answer"
  fi
  if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd || fail "lpadmin failed"
  fi
  wait_until 15 lpstat -p PDF || fail "the queue PDF does not appear"
  # On a scheduler of our own, the default is another queue, which throws its
  # jobs away: a job reaches PDF only by naming it.
  if [ "$(cat "$state")" != theirs ]; then
    lpadmin -p Altra -E -v file:/dev/null -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd &&
      lpadmin -d Altra || fail "lpadmin failed for the default queue"
  fi
  ;;
stop)
  pid=$(cat "$state" 2>/dev/null || true)
  case "$pid" in
  ''|theirs|skip) exit 0 ;;
  esac
  kill "$pid" 2>/dev/null
  wait_until 15 sh -c "! kill -0 $pid 2>/dev/null" || kill -9 "$pid" 2>/dev/null
  wait_until 5 sh -c "! test -S $socket"
  ;;
esac
exit 0
