#!/bin/sh
# Runs a test in a private mount namespace, so the images it mounts vanish with it and no mount
# reaches the rest of the machine. Where that is not possible the test is still run, told why, and
# skips itself.
if [ "$(id -u)" != 0 ]; then
    TOV_MOUNT_SKIP="not root" exec "$@"
fi
if ! unshare --mount --propagation private true 2>/dev/null; then
    TOV_MOUNT_SKIP="unshare --mount is refused" exec "$@"
fi
exec unshare --mount --propagation private "$@"
