# Sourced by the real-server test scripts: ends the test as skipped (status
# 77, with the reason) when VEKTORLING_REALSERVER_TESTS is 0 or no rcssserver3d
# is installed. Needs $root, the project's folder.
if [ "${VEKTORLING_REALSERVER_TESTS:-1}" = 0 ]; then
  echo "skipped: VEKTORLING_REALSERVER_TESTS=0"
  exit 77
fi
if ! "$root/scripts/realserver.sh" find > /dev/null 2>&1; then
  echo "skipped: no rcssserver3d installed (see scripts/realserver.sh find; ../shared/realserver/install.sh installs one)"
  exit 77
fi
