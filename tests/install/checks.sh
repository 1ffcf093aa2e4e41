# Shared by the installation checks: each check that holds is counted; the first that fails ends
# the script with its reason.
checks=0
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
pass() { checks=$((checks + 1)); }
