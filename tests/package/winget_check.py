#!/usr/bin/env python3
"""winget_check.py DIR: the winget manifest in DIR against the format's rules (multi-file, manifest version 1.6.0:
the fields each file must and may hold, their patterns); prints NAME=VALUE lines of what the installs must show."""
import os, re, sys

NAME = r'[^.\s\\/:*?"<>|\x01-\x1f]{1,32}'
FIELDS = {  # each type's fields besides the four every file holds, the required ones marked !, a list's items #
    'version': '!DefaultLocale',
    'installer': '!Installers.#.(Architecture|InstallerUrl|InstallerSha256) Installers.#.Scope InstallerLocale InstallerType '
                 'InstallModes.# UpgradeBehavior UnsupportedArguments.# AppsAndFeaturesEntries.#.(DisplayName|Publisher|'
                 'DisplayVersion|ProductCode) Installers.#.InstallerSwitches.(Silent|SilentWithProgress|Log|Custom)',
    'defaultLocale': '!(PackageLocale|Publisher|PackageName|License|ShortDescription) Copyright Description Moniker Tags.# '
                     'ReleaseNotesUrl',
}
PATTERNS = {  # by a field's last name
    'PackageIdentifier': rf'{NAME}(\.{NAME}){{1,7}}', 'PackageVersion': r'[^\\/:*?"<>|\x01-\x1f]{1,128}',
    'ManifestVersion': r'1\.6\.0', 'DefaultLocale|PackageLocale|InstallerLocale': r'[a-zA-Z]{2,3}(-[a-zA-Z]{1,8})*',
    'InstallerUrl|ReleaseNotesUrl': r'[Hh][Tt][Tt][Pp][Ss]?://.{1,2040}', 'InstallerSha256': '[A-Fa-f0-9]{64}',
    'Architecture': 'x86|x64|arm|arm64|neutral', 'Scope': 'user|machine', 'UpgradeBehavior': 'install|uninstallPrevious',
    'InstallerType': 'msix|msi|appx|exe|zip|inno|nullsoft|wix|burn|pwa|portable', 'Publisher|PackageName': '.{2,256}',
    'License|Copyright': '.{3,512}', 'ShortDescription': '.{3,256}', 'Description': '.{3,10000}'}

def flat(path):
    """Every scalar of the file, of block mappings, block sequences and plain scalars only: {Installers.2.Scope: user}"""
    fields, stack, count = {}, [], {}  # stack: (indent, name, an item of a list)
    for n, line in enumerate(open(path, encoding='utf-8').read().splitlines(), 1):
        if not line.strip() or line[0] == '#':
            continue
        indent, item, key, value, scalar = re.fullmatch(r'( *)(- )?(?:(\w+):(?: (.*))?|([^#].*))', line).groups()
        indent = len(indent)
        while stack and (stack[-1][0] > indent or stack[-1][0] == indent and (stack[-1][2] or not item)):
            stack.pop()
        parent = stack[-1][0] if stack else -2  # a mapping's keys two deeper than its own; a list's items as deep or two
        if indent not in ((parent, parent + 2) if item else (parent + 2,)):
            sys.exit(f'{path}:{n}: not as deep as the others of its mapping or list: {line}')
        if item:
            above = '.'.join(s[1] for s in stack)
            count[above] = count.get(above, 0) + 1
            stack, indent = stack + [(indent, str(count[above]), True)], indent + 2
        where, text = '.'.join([s[1] for s in stack] + ([key] if key else [])), value if scalar is None else scalar
        if text is None:
            stack.append((indent, key, False))
        elif re.match(r'''["'&*!|>{}\[\]%@`,]''', text) or ': ' in text or ' #' in text or where in fields:
            sys.exit(f'{path}:{n}: not one plain scalar: {line}')
        else:
            fields[where] = text
    return fields


folder, files = sys.argv[1], {}
for name in sorted(os.listdir(folder)):
    fields = flat(f'{folder}/{name}')
    kind, ident = fields.get('ManifestType'), fields.get('PackageIdentifier')
    rules = ['!PackageIdentifier', '!PackageVersion', '!ManifestType', '!ManifestVersion'] + FIELDS.get(kind, '!AKnownManifestType').split()
    for key, value in fields.items():  # each field one of its type's, matching its pattern
        pattern = next((p for k, p in PATTERNS.items() if re.fullmatch(k, key.split('.')[-1])), '.+')
        if not any(re.fullmatch(r.strip('!').replace('#', r'\d+'), key) for r in rules) or not re.fullmatch(pattern, value):
            sys.exit(f'{name}: {key}: {value} is not a field of a {kind} manifest, or does not match {pattern}')
    items = {re.match(r'\w+\.\d+', k)[0] for k in fields if k.startswith('Installers.')} or {'Installers.1'}
    need = [f'{m[1]}{a}' for r in rules if r[0] == '!' for m in [re.fullmatch(r'!(.*?)\(?([\w|]*)\)?', r)] for a in m[2].split('|')]
    missing = [k for r in need for k in {r.replace('#', i[11:]) for i in items} if k not in fields]
    want = ident + {'version': '', 'installer': '.installer'}.get(kind, f'.locale.{fields.get("PackageLocale")}')
    if missing or kind in files or name != f'{want}.yaml':
        sys.exit(f'{name}: a {kind} manifest ({want}.yaml, the only one) without {missing}')
    files[kind] = fields
if len(files) != 3 or len({(f['PackageIdentifier'], f['PackageVersion']) for f in files.values()}) != 1 or files['version']['DefaultLocale'] != files['defaultLocale']['PackageLocale']:
    sys.exit(f'{folder}: not three manifests of one package version, its default locale one of them')
installer = files['installer']  # the Apps entry's values, the installers' fields, and the switches of each scope
print(*(f'{re.sub(r"^AppsAndFeaturesEntries[.]1[.]", "", k)}={v}' for k, v in installer.items()), sep='\n')
for i in {k.split('.')[1] for k in installer if k.startswith('Installers.')}:
    print(f'{installer.get(f"Installers.{i}.Scope")}={installer.get(f"Installers.{i}.InstallerSwitches.Silent")} '
          f'{installer.get(f"Installers.{i}.InstallerSwitches.Custom")}')
