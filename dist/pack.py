#!/usr/bin/python3
"""Packs the release into OUT_DIR:
  sumwise-VERSION-win64.zip  sumwise.exe, README.txt and LICENSE.txt
  sumwise.exe                a copy of the program
  SHA256SUMS                 both, in sha256sum's format

    pack.py VERSION path/to/sumwise.exe OUT_DIR

The same inputs give the same zip, byte for byte: its entries are written in
a fixed order, all dated SOURCE_DATE_EPOCH (by default the last commit's
committer date), plain files of mode 0644 from a Unix origin, deflated at level 9.
"""
import glob
import hashlib
import os
import stat
import subprocess
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
ZIP_EPOCH_MIN = 315532800  # 1980-01-01, the earliest time a zip entry can hold


def fail(message):
    sys.exit(f"dist: {message}")


def git(*args):
    return subprocess.run(["git", "-C", ROOT, *args], capture_output=True,
                          text=True, check=True).stdout.strip()


def source_date_epoch():
    value = os.environ.get("SOURCE_DATE_EPOCH", "")
    if not value:
        # Only this tree's own history counts, not that of a repository
        # around an unpacked copy.
        try:
            if os.path.realpath(git("rev-parse", "--show-toplevel")) != os.path.realpath(ROOT):
                raise OSError
            value = git("log", "-1", "--format=%ct")
        except (OSError, subprocess.CalledProcessError):
            fail(f"{ROOT} is not a git checkout with a commit, and SOURCE_DATE_EPOCH is not set: "
                 "set it to the release's time in seconds since 1970 (UTC)")
    if not value.isdigit():
        fail(f"SOURCE_DATE_EPOCH must be a whole number of seconds, not {value!r}")
    return int(value)


# Windows users read these with Notepad and the like: CRLF line ends.
def windows_text(path, version):
    with open(path, encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version)
    return text.replace("\n", "\r\n").encode("utf-8")


def write_atomically(path, data):
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    version, exe, out = sys.argv[1:]
    epoch = source_date_epoch()
    stamp = time.gmtime(max(epoch, ZIP_EPOCH_MIN))[:6]
    with open(exe, "rb") as f:
        program = f.read()
    members = [("sumwise.exe", program),
               ("README.txt", windows_text(os.path.join(HERE, "README.txt"), version)),
               ("LICENSE.txt", windows_text(os.path.join(ROOT, "LICENSE"), version))]

    os.makedirs(out, exist_ok=True)
    for old in glob.glob(os.path.join(out, "sumwise-*-win64.zip")):
        os.remove(old)  # an earlier version's
    zip_name = f"sumwise-{version}-win64.zip"
    zip_path = os.path.join(out, zip_name)
    with zipfile.ZipFile(zip_path + ".tmp", "w") as z:
        for name, data in members:
            info = zipfile.ZipInfo(name, stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix: the default depends on the packing machine
            info.external_attr = (stat.S_IFREG | 0o644) << 16  # a plain file, rw-r--r--
            z.writestr(info, data, compresslevel=9)
    os.replace(zip_path + ".tmp", zip_path)
    with open(zip_path, "rb") as f:
        zip_sha256 = hashlib.sha256(f.read()).hexdigest()
    write_atomically(os.path.join(out, "sumwise.exe"), program)
    write_atomically(os.path.join(out, "SHA256SUMS"),
                     f"{zip_sha256}  {zip_name}\n"
                     f"{hashlib.sha256(program).hexdigest()}  sumwise.exe\n".encode())

    print(f"dist: {os.path.abspath(out)}, entries dated "
          f"{time.strftime('%Y-%m-%d %H:%M:%S', time.gmtime(epoch))} UTC (SOURCE_DATE_EPOCH={epoch})")
    print(f"  {zip_name}  SHA-256 {zip_sha256}")
    print(f"  {'sumwise.exe':{len(zip_name)}}  MD5     {hashlib.md5(program).hexdigest()}")


if __name__ == "__main__":
    main()
