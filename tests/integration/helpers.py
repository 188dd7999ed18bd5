"""What the integration scripts share: running tavrel-cli, and the full name
fontTools finds for name ID 4 under tavrel's preference: first Windows
Japanese, else the last Macintosh Japanese, the last Windows English, the
last Macintosh English."""
import subprocess
import tempfile

def run(command, *args):
    """Exit status, standard output (bytes) and standard error of command + args. Wine is
    given files, never pipes: a wineserver it starts would hold a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.call(list(command) + [str(a) for a in args], stdout=out, stderr=err,
                                 stdin=subprocess.DEVNULL, timeout=300)
        out.seek(0), err.seek(0)
        return status, out.read(), err.read().decode(errors="replace")


def full_name(font):
    candidates = {"mac_ja": "", "win_en": "", "mac_en": ""}
    for record in font["name"].names:
        if record.nameID != 4:
            continue
        p, e, lang = record.platformID, record.platEncID, record.langID
        if p == 3 and lang in (0x409, 0x411) and e in (0, 1, 2):
            text = record.string.decode("utf-16-be", "replace")
            text = text.split("\0")[0].split("\r")[0].split("\n")[0][:259]
            if lang == 0x411:
                return text
            candidates["win_en"] = text
        elif p == 1 and lang in (0, 11, 0x409, 0x411) and e in (0, 1):
            text = record.string.split(b"\0")[0].decode("cp1252", "replace")[:259]
            candidates["mac_ja" if lang in (11, 0x411) else "mac_en"] = text
    return next((c for c in candidates.values() if c), "")
