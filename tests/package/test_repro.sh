#!/usr/bin/env bash
# The .scr and the release built again from a copy of the tracked files elsewhere, outside any repository as a source
# tarball would be, to the same bytes; packing refuses without a commit's time or with changes not committed.
set -u
src=${QM_SOURCE_DIR:?} copy=${QM_COPY_DIR:?}
fail() { echo "FAIL: $*" >&2 && exit 1; }
mkdir -p "$copy/src"
! git -C "$copy" rev-parse --git-dir >/dev/null 2>&1 || fail "the copy at $copy is inside a git repository (QM_REPRO_DIR)"
# tar keeps the files' times, so only what changed is built again.
files=$(git -C "$src" ls-files -z | tr '\0' '\n') || fail "git ls-files in $src"
(cd "$src" && tar --ignore-failed-read -cf - -T - <<<"$files" 2>/dev/null) | tar -C "$copy/src" -xf - || fail "copying the sources"
[ -f "$copy/out/Makefile" ] ||
    cmake -S "$copy/src" -B "$copy/out" -DCMAKE_TOOLCHAIN_FILE="$copy/src/cmake/mingw-w64-x86_64.cmake" >/dev/null ||
    fail "configuring the copy"
rm -f "$copy/out/quillmere.scr" # linked now, a while after the one built
cmake --build "$copy/out" -j2 --target quillmere >"$copy/build.log" 2>&1 || fail "building the copy: $(tail "$copy/build.log")"
cmp "$QM_SCR" "$copy/out/quillmere.scr" || fail "the copy at $copy/src built another quillmere.scr"
! grep -qF -e "$src" -e "$copy" "$QM_SCR" || fail "quillmere.scr holds a build path"
! x86_64-w64-mingw32-objdump -h "$QM_SCR" | grep -q debug || fail "quillmere.scr holds debug information"
x86_64-w64-mingw32-objdump -t "$QM_SCR" | grep -q 'no symbols' || fail "quillmere.scr holds symbols"
rm -rf "$copy/a" "$copy/b" && mkdir "$copy/a" && echo mine >"$copy/a/mine.txt"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct)}
rm -rf "$copy/repo" && cp -a "$copy/src" "$copy/repo" && git -C "$copy/repo" init -q && git -C "$copy/repo" add -A &&
    GIT_COMMITTER_DATE="@$epoch +0000" git -C "$copy/repo" -c user.name=t -c user.email=t commit -q -m t || fail "making a repository of the copy"
env -u SOURCE_DATE_EPOCH QM_BUILD_DIR=$(dirname "$QM_SCR") "$copy/repo/scripts/package" --no-build --dist "$copy/a" >/dev/null || fail "packaging"
# No commit of its own: the copy, a repository of someone else's, an edit, that edit staged, a new file.
rm -rf "$copy/nest" && git init -q "$copy/nest" && git -C "$copy/nest" -c user.name=t -c user.email=t commit -q --allow-empty -m t &&
    mkdir -p "$copy/nest/tree/scripts" && cp "$src/scripts/package" "$copy/nest/tree/scripts/" || fail "making a repository around a tree"
for tree in src nest/tree 'repo:echo changed >>res/INSTALL.txt' 'repo:git add res/INSTALL.txt' 'repo:git reset -q --hard && touch new.txt'; do
    [[ $tree != repo:* ]] || (cd "$copy/repo" && eval "${tree#repo:}") || fail "$tree"
    ! out=$(cd "$copy" && env -u SOURCE_DATE_EPOCH QM_BUILD_DIR=out ${tree%%:*}/scripts/package --no-build --dist b 2>&1) &&
        [[ $out = *SOURCE_DATE_EPOCH* ]] && [ ! -e "$copy/b" ] || fail "$tree packed without SOURCE_DATE_EPOCH: $out"
done
(cd "$copy" && SOURCE_DATE_EPOCH=$epoch QM_BUILD_DIR=out src/scripts/package --no-build --dist b >/dev/null) || fail "packaging the copy into b"
[ "$(cat "$copy/a/mine.txt")" = mine ] || fail "scripts/package --dist removed a file it did not make"
for f in SHA256SUMS $(awk '{print $2}' "$copy/a/SHA256SUMS"); do cmp "$copy/a/$f" "$copy/b/$f" || fail "the copy packed another $f"; done
# The packed files carry the commit's time (zip rounds it up to even seconds), not the packing's.
[ "$(unzip -Z -T "$copy/a"/*.zip quillmere.scr | awk '{print $7}')" = "$(TZ=UTC date -d "@$(((epoch + 1) / 2 * 2))" +%Y%m%d.%H%M%S)" ] ||
    fail "the release's files carry the time they were packed, not the commit's"
echo PASS
