#!/usr/bin/env python3
"""winget_check.py DIR: checks the winget manifest in DIR against the format's rules (multi-file, manifest
version 1.6.0: the fields each file must hold and may hold, their patterns and values) and prints, as
NAME=VALUE lines for the test, what the Apps entry must hold and the switches of each scope."""
import os
import re
import sys

NAME = r'[^.\s\\/:*?"<>|\x01-\x1f]{1,32}'
RULES = {  # the manifests' fields: required ones first, then '|', then the optional ones this release uses
    'version': 'PackageIdentifier PackageVersion DefaultLocale ManifestType ManifestVersion |',
    'installer': 'PackageIdentifier PackageVersion Installers ManifestType ManifestVersion | InstallerLocale '
                 'InstallerType InstallModes UpgradeBehavior UnsupportedArguments AppsAndFeaturesEntries',
    'defaultLocale': 'PackageIdentifier PackageVersion PackageLocale Publisher PackageName License ShortDescription '
                     'ManifestType ManifestVersion | Copyright Description Moniker Tags ReleaseNotesUrl',
    'Installers': 'Architecture InstallerUrl InstallerSha256 | Scope InstallerSwitches',
    'InstallerSwitches': '| Silent SilentWithProgress Interactive InstallLocation Log Upgrade Custom',
    'AppsAndFeaturesEntries': '| DisplayName Publisher DisplayVersion ProductCode UpgradeCode InstallerType',
}
PATTERNS = {
    'PackageIdentifier': rf'{NAME}(\.{NAME}){{1,7}}', 'PackageVersion': r'[^\\/:*?"<>|\x01-\x1f]{1,128}',
    'ManifestVersion': r'1\.6\.0', 'DefaultLocale|PackageLocale|InstallerLocale': r'[a-zA-Z]{2,3}(-[a-zA-Z]{1,8})*',
    'InstallerSha256': r'[A-Fa-f0-9]{64}', 'InstallerUrl|ReleaseNotesUrl': r'[Hh][Tt][Tt][Pp][Ss]?://.{1,2040}',
    'Architecture': 'x86|x64|arm|arm64|neutral', 'Scope': 'user|machine', 'UpgradeBehavior': 'install|uninstallPrevious',
    'InstallerType': 'msix|msi|appx|exe|zip|inno|nullsoft|wix|burn|pwa|portable',
    'Publisher|PackageName': '.{2,256}', 'License|Copyright': '.{3,512}', 'ShortDescription': '.{3,256}',
    'Description': '.{3,10000}', 'Silent|SilentWithProgress|Log|Custom': '.{1,512}', 'Moniker|Tags': '.{1,40}',
    'InstallModes': 'interactive|silent|silentWithProgress', 'UnsupportedArguments': 'log|location',
}


def fail(where, what):
    sys.exit(f'{where}: {what}')


def load(path):
    """The manifests' YAML: block mappings, block sequences and plain scalars; anything else fails."""
    lines = [(len(l) - len(l.lstrip(' ')), l.strip()) for l in open(path, encoding='utf-8').read().splitlines()
             if l.strip() and not l.lstrip().startswith('#')]

    def scalar(text, n):
        if re.match(r'''["'&*!|>{}\[\]%@`,]''', text) or ': ' in text or ' #' in text or text.endswith(':'):
            fail(f'{path}:{n}', f'not a plain scalar: {text}')
        return text

    def block(i, indent):
        if lines[i][1].startswith('- '):
            items = []
            while i < len(lines) and lines[i][0] == indent and lines[i][1].startswith('- '):
                rest = lines[i][1][2:]
                if re.match(r'[^ :]+:( |$)', rest):  # an item's first key, then its others below it
                    lines[i] = (indent + 2, rest)
                    item, i = block(i, indent + 2)
                else:
                    item, i = scalar(rest, i), i + 1
                items.append(item)
            return items, i
        mapping = {}
        while i < len(lines) and lines[i][0] == indent and not lines[i][1].startswith('- '):
            key, colon, rest = lines[i][1].partition(':')
            if not colon or key in mapping or not re.fullmatch(r'\w+', key) or rest[:1] not in ('', ' '):
                fail(f'{path}:{i}', f'not a new key: {lines[i][1]}')
            if rest.strip():
                mapping[key], i = scalar(rest.strip(), i), i + 1
            elif i + 1 < len(lines) and (lines[i + 1][0] > indent or lines[i + 1][1].startswith('- ')):
                mapping[key], i = block(i + 1, lines[i + 1][0])
            else:
                fail(f'{path}:{i}', f'{key} holds nothing')
        return mapping, i

    value, end = block(0, 0) if lines else (None, 0)
    if not isinstance(value, dict) or end != len(lines):
        fail(path, f'not one mapping: line {end} is {lines[end:end + 1]}')
    return value


def check(where, value, rule):
    required, _, optional = RULES[rule].partition('|')
    for item in value if isinstance(value, list) else [value]:
        if not isinstance(item, dict) or item.keys() - set(required.split() + optional.split()) or \
                set(required.split()) - item.keys():
            fail(where, f'{rule} must hold {required.strip()} and may hold{optional}: {item}')
        for key, field in item.items():
            if key in RULES:
                check(f'{where} {key}', field, key)
            for name in field if isinstance(field, list) and key not in RULES else [field]:
                pattern = next((p for k, p in PATTERNS.items() if key in k.split('|')), None)
                if isinstance(name, str) and pattern and not re.fullmatch(pattern, name):
                    fail(where, f'{key} {name} does not match {pattern}')


folder, files = sys.argv[1], {}
for name in sorted(os.listdir(folder)):
    manifest = load(f'{folder}/{name}')
    kind = manifest.get('ManifestType')
    if kind not in RULES or kind[0].isupper() or kind in files:
        fail(name, f'ManifestType {kind}: one each of version, installer and defaultLocale')
    check(name, manifest, kind)
    files[kind], ident = manifest, manifest['PackageIdentifier']
    want = ident + {'version': '', 'installer': '.installer'}.get(kind, f'.locale.{manifest.get("PackageLocale")}')
    if name != f'{want}.yaml':
        fail(name, f'the {kind} manifest of {ident} is {want}.yaml')
installer = files.get('installer', {})
if len(files) != 3 or len({(m['PackageIdentifier'], m['PackageVersion']) for m in files.values()}) != 1 or \
        files['version']['DefaultLocale'] != files['defaultLocale']['PackageLocale']:
    fail(folder, 'three manifests of one package version, the default locale one of them')
scopes = {one.get('Scope'): one for one in installer['Installers']}
if sorted(scopes) != ['machine', 'user'] or len({(o['InstallerUrl'], o['InstallerSha256']) for o in scopes.values()}) != 1:
    fail(folder, 'one installer, for each scope')
print(f'version={installer["PackageVersion"]}', *(f'{k}={v}' for k, v in installer['AppsAndFeaturesEntries'][0].items()),
      *(f'{k}={o["InstallerSwitches"]["Silent"]} {o["InstallerSwitches"]["Custom"]}' for k, o in scopes.items()),
      f'url={scopes["user"]["InstallerUrl"]}', f'sha256={scopes["user"]["InstallerSha256"].lower()}',
      f'log={scopes["user"]["InstallerSwitches"]["Log"]}', sep='\n')
