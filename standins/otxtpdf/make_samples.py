#!/usr/bin/python3
"""Makes the PDF files the page counter is tested on, and their expected counts.

    make_samples.py OUTDIR

Writes OUTDIR/expected.tsv, one line per file: absolute path, expected page
count, how the file was made, and whether its cross-reference data is
"intact" (the count must not need the repair scan), "damaged" (it must) or
"-" (either). The files come from other producers (cairo
through its Python binding, ghostscript's pdfwrite, groff, poppler's pdfunite
and pdftocairo), from qpdf's rewrites of them (object streams, linearized,
QDF, encrypted), from incremental updates and damaged cross-reference data
written here, and from the PDF files that installed Debian packages ship.
Their expected count is what poppler's pdfinfo reports. Hostile files
(truncated, a cycle in the page tree, an absurd /Count, a deflate bomb) carry
the count a careful reader gives, or -1; "<=N" stands for -1 or a count from
1 to N.
"""
import glob
import os
import re
import subprocess
import sys
import zlib

import cairo

out = os.path.abspath(sys.argv[1])
os.makedirs(out, exist_ok=True)
rows = []


def path(name):
    return os.path.join(out, name)


def pdfinfo_pages(file):
    result = subprocess.run(["pdfinfo", file], capture_output=True, text=True, errors="replace")
    match = re.search(r"^Pages:\s+(\d+)$", result.stdout, re.M)
    return int(match.group(1)) if result.returncode == 0 and match else None


def compared(file, how, made_here=True, repair="intact"):
    """A file whose expected count is pdfinfo's."""
    pages = pdfinfo_pages(file)
    if pages is None or pages == 0:
        if made_here:
            sys.exit(f"pdfinfo cannot count {file} ({how})")
        print(f"skipped, pdfinfo cannot count it: {file}")
        return
    rows.append((file, pages, how, repair))


def write(name, data):
    with open(path(name), "wb") as f:
        f.write(data)
    return path(name)


def expected_here(name, data, expected, how, repair="-"):
    """A file written here, whose expected count is set here."""
    rows.append((write(name, data), expected, how, repair))


def qpdf(source, name, *options):
    # Exit status 3 is "done, with warnings", which damaged input gives.
    status = subprocess.run(["qpdf", *options, source, path(name)], capture_output=True).returncode
    if status not in (0, 3):
        sys.exit(f"qpdf {' '.join(options)} failed on {source}")
    return path(name)


# Producers.
surface = cairo.PDFSurface(path("cairo.pdf"), 595, 842)
context = cairo.Context(surface)
for page in range(7):
    context.move_to(72, 72)
    context.show_text(f"cairo page {page + 1}")
    context.show_page()
surface.finish()
compared(path("cairo.pdf"), "cairo")

with open(path("pages.ps"), "w") as f:
    f.write("%!PS\n/Helvetica findfont 24 scalefont setfont\n")
    for page in range(12):
        f.write(f"72 720 moveto (ghostscript page {page + 1}) show showpage\n")
subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
                "-sOutputFile=" + path("gs.pdf"), path("pages.ps")], check=True)
compared(path("gs.pdf"), "ghostscript pdfwrite")

# groff's PDF writer, and poppler's own writers (merging, and cairo output).
with open(path("pages.ms"), "w") as f:
    f.write("".join(f".LP\ngroff page {page + 1}\n.bp\n" for page in range(4)) + ".LP\nlast page\n")
with open(path("groff.pdf"), "wb") as f:
    subprocess.run(["groff", "-ms", "-Tpdf", path("pages.ms")], stdout=f, check=True)
compared(path("groff.pdf"), "groff")
subprocess.run(["pdfunite", path("cairo.pdf"), path("gs.pdf"), path("groff.pdf"), path("united.pdf")], check=True)
compared(path("united.pdf"), "poppler pdfunite")
subprocess.run(["pdftocairo", "-pdf", path("gs.pdf"), path("pdftocairo.pdf")], check=True)
compared(path("pdftocairo.pdf"), "poppler pdftocairo")

# qpdf's rewrites, and a long document whose pages repeat the others.
for base in ("cairo", "gs", "groff", "united"):
    source = path(base + ".pdf")
    compared(qpdf(source, base + "_objstm.pdf", "--object-streams=generate"), "qpdf object streams")
    compared(qpdf(source, base + "_linear.pdf", "--linearize"), "qpdf linearized")
    compared(qpdf(source, base + "_linear_objstm.pdf", "--linearize", "--object-streams=generate"),
             "qpdf linearized, object streams")
    compared(qpdf(source, base + "_qdf.pdf", "--qdf"), "qpdf QDF")
    qpdf(source, base + "_classic.pdf", "--object-streams=disable")
subprocess.run(["qpdf", "--empty", "--object-streams=generate", "--pages"] + [path("gs.pdf")] * 60 +
               ["--", path("long.pdf")], check=True)
compared(path("long.pdf"), "qpdf, 720 pages in object streams")

# Encrypted with an empty user password, as readers open them without
# asking: the page tree stays plain text, but object streams are encrypted.
# RC4 40 and 128 bits, AES 128 bits, AES 256 bits (revisions 6 and 5).
ciphers = (("rc4_40", ["--allow-weak-crypto"], ["40"]), ("rc4_128", ["--allow-weak-crypto"], ["128", "--use-aes=n"]),
           ("aes_128", [], ["128", "--use-aes=y"]), ("aes_256", [], ["256"]),
           ("aes_256_r5", ["--allow-weak-crypto"], ["256", "--force-R5"]))
for name, general, options in ciphers:
    for streams in ("disable", "generate"):
        if name == "rc4_40" and streams == "generate":
            continue  # object streams need PDF 1.5, and 40-bit keys predate it
        compared(qpdf(path("gs.pdf"), f"gs_{name}_{streams}.pdf", f"--object-streams={streams}", *general,
                      "--encrypt", "", "owner", *options, "--"), f"qpdf, encrypted {name}, object streams {streams}")
# A user password: the page tree is still plain text in a classic file, not
# in object streams.
for streams, expected in (("disable", 12), ("generate", -1)):
    locked = qpdf(path("gs.pdf"), "password.pdf", f"--object-streams={streams}",
                  "--encrypt", "secret", "owner", "256", "--")
    expected_here(f"gs_password_{streams}.pdf", open(locked, "rb").read(), expected,
                  f"encrypted with a user password, object streams {streams}", "intact" if expected > 0 else "-")


def qpdf_show(file, what):
    return subprocess.run(["qpdf", f"--show-object={what}", file], capture_output=True, text=True).stdout


def page_tree(file):
    """The number of the root page tree node and the references of the pages, from qpdf."""
    root = re.search(r"/Root (\d+) 0 R", qpdf_show(file, "trailer")).group(1)
    node = int(re.search(r"/Pages (\d+) 0 R", qpdf_show(file, root)).group(1))
    shown = subprocess.run(["qpdf", "--show-pages", file], capture_output=True, text=True).stdout
    return node, [r.encode() for r in re.findall(r"^page \d+: (\d+ \d+ R)", shown, re.M)]


def last_startxref(data):
    return int(re.findall(rb"startxref\s+(\d+)", data)[-1])


def incremental_update(data, new_objects, size):
    """Appends objects with a classic table and a trailer whose /Prev is the old start."""
    root = re.findall(rb"/Root (\d+) 0 R", data)[-1]
    update = b"\n"
    offsets = []
    for number, body in new_objects:
        offsets.append((number, len(data) + len(update)))
        update += b"%d 0 obj\n%s\nendobj\n" % (number, body)
    xref = len(data) + len(update)
    update += b"xref\n"
    for number, offset in offsets:
        update += b"%d 1\n%010d 00000 n \n" % (number, offset)
    update += b"trailer\n<< /Size %d /Root %s 0 R /Prev %d >>\nstartxref\n%d\n%%%%EOF\n" % (
        size, root, last_startxref(data), xref)
    return data + update


# An update that drops the last page, on a classic file and on one whose
# older section is a cross-reference stream.
for base in ("gs_classic", "gs_objstm"):
    data = open(path(base + ".pdf"), "rb").read()
    node, refs = page_tree(path(base + ".pdf"))
    size = int(re.findall(rb"/Size (\d+)", data)[-1])
    new_node = b"<< /Type /Pages /Kids [ %s ] /Count %d >>" % (b" ".join(refs[:-1]), len(refs) - 1)
    compared(write(base + "_update.pdf", incremental_update(data, [(node, new_node)], size)),
             "incremental update dropping a page")

# A hybrid file: a classic table for the plain objects whose trailer points
# (/XRefStm) at a cross-reference stream for the ones in object streams.
data = open(path("gs_objstm.pdf"), "rb").read()
listing = subprocess.run(["qpdf", "--show-xref", path("gs_objstm.pdf")], capture_output=True, text=True).stdout
plain = [(int(n), int(o)) for n, o in re.findall(r"^(\d+)/0: uncompressed; offset = (\d+)$", listing, re.M)]
table = b"xref\n0 1\n0000000000 65535 f \n" + b"".join(b"%d 1\n%010d 00000 n \n" % entry for entry in plain)
size = int(re.findall(rb"/Size (\d+)", data)[-1])
root = re.findall(rb"/Root (\d+) 0 R", data)[-1]
hybrid = data + table + b"trailer\n<< /Size %d /Root %s 0 R /XRefStm %d >>\nstartxref\n%d\n%%%%EOF\n" % (
    size, root, last_startxref(data), len(data))
compared(write("gs_hybrid.pdf", hybrid), "hybrid: classic table and /XRefStm")

# A file of 3 GiB whose objects lie beyond 2^32, left sparse: the counter
# must seek with 64-bit offsets and read only the end and the objects it
# follows (reading it all would overrun its budget). Left out where the file
# system would store the gap.
gap = 3 << 30
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
           b"<< /Type /Page /Parent 2 0 R >>", b"<< /Type /Page /Parent 2 0 R >>"]
with open(path("large_sparse.pdf"), "wb") as f:
    f.write(b"%PDF-1.4\n")
    f.seek(gap)
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(f.tell())
        f.write(b"%d 0 obj\n%s\nendobj\n" % (number, body))
    xref = f.tell()
    f.write(b"xref\n0 5\n0000000000 65535 f \n" + b"".join(b"%010d 00000 n \n" % o for o in offsets))
    f.write(b"trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % xref)
if os.stat(path("large_sparse.pdf")).st_blocks * 512 < (1 << 20):
    # pdfinfo reads all of it (20 s here); the count is known by construction.
    rows.append((path("large_sparse.pdf"), 2, "3 GiB, objects beyond 2^32", "intact"))
else:
    os.remove(path("large_sparse.pdf"))
    print("skipped: this file system does not keep files sparse")

# Damaged cross-reference data: a wrong startxref, and offsets that all
# point a few bytes off, which readers repair by scanning the file.
data = open(path("cairo.pdf"), "rb").read()
wrong = re.sub(rb"startxref\s+\d+", b"startxref\n%d" % (len(data) // 3), data)
compared(write("cairo_bad_startxref.pdf", wrong), "damaged: wrong startxref", repair="damaged")
data = open(path("gs_classic.pdf"), "rb").read()
shifted = re.sub(rb"(\d{10}) 00000 n", lambda m: b"%010d 00000 n" % (int(m.group(1)) + 7), data)
compared(write("gs_shifted_xref.pdf", shifted), "damaged: every offset wrong", repair="damaged")

# PDF files that installed Debian packages ship.
for file in sorted(glob.glob("/usr/share/**/*.pdf", recursive=True)):
    if os.path.isfile(file) and not os.path.islink(file):
        compared(file, "shipped by a Debian package", made_here=False, repair="-")


def classic_file(objects):
    """A small classic file from (number, body) pairs."""
    data = b"%PDF-1.4\n"
    offsets = {}
    for number, body in objects:
        offsets[number] = len(data)
        data += b"%d 0 obj\n%s\nendobj\n" % (number, body)
    size = max(offsets) + 1
    xref = len(data)
    data += b"xref\n0 %d\n0000000000 65535 f \n" % size
    for number in range(1, size):
        data += b"%010d 00000 n \n" % offsets[number] if number in offsets else b"0000000000 65535 f \n"
    data += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (size, xref)
    return data


page = b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>"
# A truncated file gives -1 or at most the pages it had ("<=N").
for base, pages in (("gs", 12), ("gs_objstm", 12), ("long", 720), ("cairo_linear", 7)):
    data = open(path(base + ".pdf"), "rb").read()
    for part in (3, 2):
        expected_here(f"{base}_truncated_{part}.pdf", data[:len(data) * (part - 1) // part], f"<={pages}",
                      f"hostile: {base}.pdf cut to {part - 1}/{part}")
# Node 4 lists the root among its kids: the cycle is cut, the two pages count.
expected_here("cycle.pdf", classic_file([
    (1, b"<< /Type /Catalog /Pages 2 0 R >>"),
    (2, b"<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 3 >>"),
    (3, page),
    (4, b"<< /Type /Pages /Parent 2 0 R /Kids [5 0 R 2 0 R 4 0 R] /Count 2 >>"),
    (5, page)]), 2, "hostile: page tree cycle", "intact")
expected_here("count_absurd.pdf", classic_file([
    (1, b"<< /Type /Catalog /Pages 2 0 R >>"),
    (2, b"<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 2147483647 >>"),
    (3, page), (4, page), (5, page)]), 3, "hostile: /Count 2147483647", "intact")
# A node whose kids name the next node twice, forty levels deep: counted
# naively it would have 2^40 pages.
objects = [(1, b"<< /Type /Catalog /Pages 2 0 R >>")]
for level in range(40):
    objects.append((2 + level, b"<< /Type /Pages /Kids [%d 0 R %d 0 R] /Count 1 >>" % (3 + level, 3 + level)))
objects.append((42, page))
expected_here("doubling_tree.pdf", classic_file(objects), 2, "hostile: shared kids, 2^40 paths", "intact")
# The page tree sits in an object stream that inflates to 256 MiB.
bomb = zlib.compressobj(9)
stream = bomb.compress(b"3 0 << /Type /Pages /Kids [] /Count 0 >>")
blanks = b" " * (1 << 20)
for _ in range(256):
    stream += bomb.compress(blanks)
stream += bomb.flush()
expected_here("deflate_bomb.pdf", classic_file([
    (1, b"<< /Type /Catalog /Pages 3 0 R >>"),
    (2, b"<< /Type /ObjStm /N 1 /First 4 /Length %d /Filter /FlateDecode >>\nstream\n" % len(stream) +
     stream + b"\nendstream")]), -1, "hostile: deflate bomb in an object stream")
expected_here("count_without_kids.pdf", classic_file([
    (1, b"<< /Type /Catalog /Pages 2 0 R >>"),
    (2, b"<< /Type /Pages /Kids 2 0 R /Count 99 >>")]), -1, "hostile: /Kids is the node itself")
data = open(path("gs_classic.pdf"), "rb").read()
own_prev = re.sub(rb"/Size (\d+)", lambda m: b"/Size %s /Prev %d" % (m.group(1), last_startxref(data)), data)
expected_here("prev_cycle.pdf", own_prev, 12, "hostile: /Prev names its own section", "intact")
# pdfinfo gives up on this one; the scan finds the catalog in an object stream.
no_xref = re.sub(rb"startxref\s+\d+", b"startxref\n0", open(path("gs_objstm.pdf"), "rb").read())
expected_here("gs_objstm_no_xref.pdf", no_xref, 12, "damaged: no usable xref, objects in object streams",
              "damaged")
expected_here("not_a_pdf.pdf", b"GIF89a" + b"\0" * 100, -1, "not a PDF")
expected_here("empty.pdf", b"", -1, "empty file")
noise = b"%PDF-1.7\n" + bytes((i * 7919) % 251 for i in range(200000))
expected_here("binary_noise.pdf", noise, -1, "hostile: binary noise after a header")

with open(path("expected.tsv"), "w") as f:
    for file, pages, how, repair in rows:
        f.write(f"{file}\t{pages}\t{how}\t{repair}\n")
print(f"{len(rows)} files in {path('expected.tsv')}")
