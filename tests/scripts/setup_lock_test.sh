#!/usr/bin/env bash
# scripts/setup.sh while another package manager run holds the lock: it waits and tries
# again, and gives up once its bound has passed. apt-get and dpkg-query are stand-ins.
set -uo pipefail
setup=$1
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT

cat >"$stubs/dpkg-query" <<'STUB'
#!/usr/bin/env bash
[[ "$*" == *libsdl2-dev* ]] || echo -n "install ok installed"
STUB
cat >"$stubs/sudo" <<'STUB'
#!/usr/bin/env bash
exec "$@"
STUB
# Refuses with apt's lock message while the lock file holds a number above 0.
cat >"$stubs/apt-get" <<'STUB'
#!/usr/bin/env bash
held=$(cat "$STUB_DIR/lock")
if ((held > 0)); then
  echo $((held - 1)) >"$STUB_DIR/lock"
  echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (apt-get)" >&2
  exit 100
fi
echo "$*" >>"$STUB_DIR/calls"
STUB
chmod +x "$stubs"/*
export STUB_DIR=$stubs PATH="$stubs:$PATH" SETUP_LOCK_RETRY_PAUSE=0

echo 3 >"$stubs/lock"
bash "$setup" || { echo "FAIL: setup did not wait for the lock"; exit 1; }
grep -q "install .*libsdl2-dev" "$stubs/calls" || { echo "FAIL: nothing was installed"; exit 1; }

echo 1000000 >"$stubs/lock"
if SETUP_LOCK_WAIT_SECONDS=0 bash "$setup"; then
  echo "FAIL: setup went on without the lock"
  exit 1
fi
echo "ok"
