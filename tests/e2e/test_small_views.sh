#!/usr/bin/env bash
# The small views' Windows tests again on contexts that say they are older (Mesa's overrides) and at 150 %.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin small_views || exit 1
dpi_is() { qm_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null && qm_reg_is 'HKCU\Control Panel\Desktop' "LogPixels=$(printf 0x%x "$1")"; }
while IFS='|' read -r what version extensions dpi; do
    qm_until 30 dpi_is "$dpi" || qm_fail "$what: the DPI is not $dpi"
    (
        cd "$qm_work" || exit 1
        if [ -n "$version" ]; then export MESA_GL_VERSION_OVERRIDE=$version; fi
        if [ -n "$extensions" ]; then export MESA_EXTENSION_OVERRIDE=$extensions; fi
        exec "$QM_WINE" "$QM_WINDOWS_TESTS" --gtest_filter='SmallView.*:SmallViewPreview.*' >"$qm_work/$what.txt" 2>&1
    ) || qm_fail "$what: $(grep -E -A4 'Failure$|FAILED|no row' "$qm_work/$what.txt" | head -30)"
    echo "ok: $what"
done <<'ROWS'
OpenGL 3.0|3.0||96
OpenGL 2.1|2.1||96
OpenGL 1.4|1.4|-GL_ARB_framebuffer_object|96
OpenGL 1.1|1.1|-GL_ARB_framebuffer_object -GL_EXT_framebuffer_object -GL_ARB_texture_non_power_of_two -GL_EXT_texture_edge_clamp -GL_SGIS_texture_edge_clamp|96
150 %|||144
ROWS
echo PASS
