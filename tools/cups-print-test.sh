#!/usr/bin/env bash
# Prints one job through the program's print command into a real CUPS queue
# and finds it in CUPS's records under its name, "Řešení úlohy"; then tells
# the queue to reject jobs and checks that the next job is reported refused,
# tells it to hold its jobs and checks that a job that does not end in time is
# reported, puts a proxy that stops answering in front of the scheduler and
# checks that the window runs on and says so, and stops the scheduler between
# the dialog and the job, reported likewise.
#
# The scheduler is a private one: its configuration, spool, logs and socket
# live in a temporary folder, and it is stopped by its process id at the end,
# so the machine's own printing is left alone. The queue prints through
# cups-pdf; the PDF it leaves in the job owner's ~/PDF is removed again.
#
# Skips (exit 0, with the reason) where CUPS cannot run: not root, CUPS or
# the PDF driver missing, or a scheduler that does not come up.
#
# Usage: tools/cups-print-test.sh [ui_tests binary]   (default: build/tests/ui/ui_tests)
set -euo pipefail
cd "$(dirname "$0")/.."

ui_tests=${1:-build/tests/ui/ui_tests}
queue=parvolin-pdf
job_name="Řešení úlohy"
# The PPD file itself, so that adding the queue does not need cups-driverd
# to list the drivers (it failed to on a freshly installed system); the
# driver's name is the fallback where the file lies elsewhere.
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
driver=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd

skip() {
    echo "cups-print-test: SKIPPED: $*"
    exit 0
}
fail() {
    echo "cups-print-test: FAILED: $*" >&2
    exit 1
}

[[ -x $ui_tests ]] || fail "$ui_tests is not built"
[[ $(id -u) -eq 0 ]] || skip "the scheduler must be started as root"
for tool in cupsd lpadmin lpstat cupsreject cupsaccept cupsdisable cupsenable cancel ipptool python3; do
    command -v "$tool" >/dev/null || skip "$tool is missing (packages cups, cups-ipp-utils)"
done
[[ -x /usr/lib/cups/backend/cups-pdf ]] || skip "the cups-pdf backend is missing (package printer-driver-cups-pdf)"

dir=$(mktemp -d /tmp/parvolin-cups.XXXXXX)
# The filters run as the lp user and must get through to the spool.
chmod 755 "$dir"
mkdir -p "$dir/etc" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log"
out_dir="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
out_dir_existed=false
[[ -d $out_dir ]] && out_dir_existed=true

cupsd_pid=
job_id=
cleanup() {
    if [[ -n $cupsd_pid ]]; then
        kill "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    if [[ -n $job_id ]]; then
        rm -f "$out_dir"/*-job_"$job_id".pdf
        [[ $out_dir_existed == true ]] || rmdir "$out_dir" 2>/dev/null || true
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
# The scheduler's logs outlive a failure in a folder under /var/tmp (the
# temporary folder may be a tmpfs that goes with the machine or the root).
keep_logs() {
    local kept
    kept=$(mktemp -d /var/tmp/parvolin-cups-logs.XXXXXX) || return 0
    cp -r "$dir/log/." "$kept/" 2>/dev/null || true
    cp /var/log/cups/cups-pdf*_log "$kept/" 2>/dev/null || true
    echo "cups-print-test: the scheduler's logs are kept in $kept" >&2
}

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
socket="$dir/cups.sock"

cat >"$dir/etc/cupsd.conf" <<EOF
Listen $socket
Listen 127.0.0.1:$port
LogLevel debug
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
Printcap $dir/printcap
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
EOF

export CUPS_SERVER=$socket
cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
cupsd_pid=$!

for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    kill -0 "$cupsd_pid" 2>/dev/null || break
    sleep 0.2
done
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    tail -n 5 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null || true
    skip "the private CUPS scheduler did not start"
fi

if [[ -f $ppd ]]; then
    model=(-P "$ppd")
else
    model=(-m "$driver")
fi
lpadmin -p "$queue" -E -v cups-pdf:/ "${model[@]}" -o printer-is-shared=false 2>&1 |
    grep -v "drivers are deprecated" || true
lpstat -p "$queue" >/dev/null 2>&1 || fail "lpadmin did not add the queue $queue"

echo "cups-print-test: printing through $queue"
PARVOLIN_CUPS_QUEUE=$queue timeout 60 "$ui_tests" --gtest_filter='CupsQueue.JobReachesTheQueue' >"$dir/log/test.out" 2>&1 ||
    { cat "$dir/log/test.out"; fail "the print test failed"; }
grep -q "SKIPPED" "$dir/log/test.out" && { cat "$dir/log/test.out"; fail "the print test was skipped"; }

# The job's record, once the queue has finished it.
cat >"$dir/get-jobs.test" <<'EOF'
{
    NAME "Completed jobs"
    OPERATION Get-Jobs
    GROUP operation-attributes-tag
    ATTR charset attributes-charset utf-8
    ATTR naturalLanguage attributes-natural-language en
    ATTR uri printer-uri $uri
    ATTR keyword which-jobs completed
    ATTR keyword requested-attributes job-id,job-name,job-state
    STATUS successful-ok
    DISPLAY job-id
    DISPLAY job-name
}
EOF
cat >"$dir/get-job.test" <<'EOF'
{
    NAME "The job's name"
    OPERATION Get-Job-Attributes
    GROUP operation-attributes-tag
    ATTR charset attributes-charset utf-8
    ATTR naturalLanguage attributes-natural-language en
    ATTR uri printer-uri $uri
    ATTR integer job-id $job_id
    ATTR keyword requested-attributes job-id,job-name,job-state
    STATUS successful-ok
    DISPLAY job-name
    DISPLAY job-state
}
EOF
# CUPS writes the job's name into two places once the job is done: the job's
# record and the page log, whose line also holds the job's id. A second
# after the job ends the scheduler drops the record's attributes from memory
# and answers Get-Jobs with the job's id alone until something reads them
# back, which Get-Job-Attributes does; so the name is asked for by the id,
# and the page log counts as well. Both are shown. The normal case takes a
# few seconds; the bound only guards against a job that never ends, and is
# generous because the filters (Ghostscript) are slow on a loaded machine.
wait_seconds=${CUPS_TEST_WAIT_SECONDS:-120}
records=
page_lines=
job_id=
named=false
deadline=$((SECONDS + wait_seconds))
while :; do
    records=$(timeout 10 ipptool -t "ipp://127.0.0.1:$port/printers/$queue" "$dir/get-jobs.test" 2>&1 || true)
    page_lines=$(grep -F "$job_name" "$dir/log/page_log" 2>/dev/null || true)
    job_id=$(sed -n 's/.*job-id (integer) = \([0-9]*\).*/\1/p' <<<"$records" | head -n 1)
    if [[ -z $job_id && -n $page_lines ]]; then
        # page_log: printer user job-id [date] ...
        job_id=$(awk -v q="$queue" '$1 == q { print $3; exit }' <<<"$page_lines")
    fi
    if [[ -n $job_id ]] && ! grep -qF "job-name (nameWithoutLanguage) = $job_name" <<<"$records"; then
        records+=$'\n'$(timeout 10 ipptool -t -d job_id="$job_id" "ipp://127.0.0.1:$port/printers/$queue" \
            "$dir/get-job.test" 2>&1 || true)
    fi
    if grep -qF "job-name (nameWithoutLanguage) = $job_name" <<<"$records" || [[ -n $page_lines ]]; then
        named=true
    fi
    [[ -n $job_id && $named == true ]] && break
    ((SECONDS < deadline)) || break
    sleep 0.2
done
if [[ -z $job_id || $named != true ]]; then
    echo "$records"
    lpstat -W all -l -o "$queue" || true
    echo "page log:"
    cat "$dir/log/page_log" 2>/dev/null || true
    echo "scheduler log (errors, warnings and the job's last lines):"
    grep -E '^[EW] ' "$dir/log/error_log" 2>/dev/null | tail -n 20 || true
    grep -F '[Job ' "$dir/log/error_log" 2>/dev/null | tail -n 40 || true
    for log in /var/log/cups/cups-pdf*_log; do
        [[ -f $log ]] && { echo "$log:"; tail -n 20 "$log"; }
    done
    keep_logs
    fail "no completed job named \"$job_name\" in the queue's records or its page log within $wait_seconds s"
fi
echo "cups-print-test: job $job_id completed as \"$job_name\""
[[ -z $page_lines ]] || sed 's/^/cups-print-test: page log: /' <<<"$page_lines"
# The queue told to reject jobs: the program must say so, not drop the job.
cupsreject "$queue"
PARVOLIN_CUPS_REFUSING_QUEUE=$queue timeout 60 "$ui_tests" --gtest_filter='CupsQueue.RefusedJobIsReported' \
    >"$dir/log/refused.out" 2>&1 || { cat "$dir/log/refused.out"; fail "the refused job was not reported"; }
grep -q "SKIPPED" "$dir/log/refused.out" && { cat "$dir/log/refused.out"; fail "the refused-job test was skipped"; }
echo "cups-print-test: a job refused by the queue is reported"

# The queue told to hold its jobs: a job that does not end in time is
# reported, not taken for printed.
cupsaccept "$queue"
cupsdisable "$queue"
PARVOLIN_CUPS_STOPPED_QUEUE=$queue timeout 60 "$ui_tests" --gtest_filter='CupsQueue.JobThatDoesNotEndIsReported' \
    >"$dir/log/held.out" 2>&1 || { cat "$dir/log/held.out"; fail "a job that did not end was not reported"; }
grep -q "SKIPPED" "$dir/log/held.out" && { cat "$dir/log/held.out"; fail "the held-job test was skipped"; }
cancel -a "$queue" 2>/dev/null || true
cupsenable "$queue"
echo "cups-print-test: a job that does not end in time is reported"

# A service that stops answering in the middle, behind a proxy of the test's
# own: the window must run on and say why nothing printed.
PARVOLIN_CUPS_QUEUE=$queue PARVOLIN_CUPS_UPSTREAM=127.0.0.1:$port timeout 120 "$ui_tests" \
    --gtest_filter='Cups/PrintServiceStall.*' >"$dir/log/stall.out" 2>&1 ||
    { cat "$dir/log/stall.out"; fail "a print service that stops answering was not reported while the window ran"; }
grep -q "SKIPPED" "$dir/log/stall.out" && { cat "$dir/log/stall.out"; fail "the stalling-service test was skipped"; }
echo "cups-print-test: a print service that stops answering is reported while the window runs"

# The scheduler stopped by the test between the dialog and the job.
PARVOLIN_CUPS_QUEUE=$queue PARVOLIN_CUPS_STOP_PID=$cupsd_pid timeout 60 "$ui_tests" \
    --gtest_filter='CupsQueue.JobForAStoppedServiceIsReported' >"$dir/log/stopped.out" 2>&1 ||
    { cat "$dir/log/stopped.out"; fail "the job for a stopped service was not reported"; }
grep -q "SKIPPED" "$dir/log/stopped.out" && { cat "$dir/log/stopped.out"; fail "the stopped-service test was skipped"; }
echo "cups-print-test: a job for a service stopped after the dialog is reported"
echo "cups-print-test: PASSED"
