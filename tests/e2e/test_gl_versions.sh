#!/usr/bin/env bash
# The small views' choices on real contexts that say they are older (Mesa's overrides, with extensions taken away):
# the Windows test program's SmallView tests once for each, on one display and Wine server.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin gl_versions || exit 1
while IFS='|' read -r version extensions; do
    (
        cd "$qm_work" && export MESA_GL_VERSION_OVERRIDE=$version
        if [ -n "$extensions" ]; then export MESA_EXTENSION_OVERRIDE=$extensions; fi
        exec "$QM_WINE" "$QM_WINDOWS_TESTS" --gtest_filter='SmallView.*' >"$qm_work/$version.txt" 2>&1
    ) || qm_fail "OpenGL $version: $(grep -E -A4 'Failure$|FAILED|no row' "$qm_work/$version.txt" | head -30)"
    echo "ok: OpenGL $version"
done <<'ROWS'
3.0|
2.1|
1.4|-GL_ARB_framebuffer_object
1.1|-GL_ARB_framebuffer_object -GL_EXT_framebuffer_object -GL_ARB_texture_non_power_of_two -GL_EXT_texture_edge_clamp -GL_SGIS_texture_edge_clamp
ROWS
echo PASS
