#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/. All rows are invented."""
import os

here = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    d = os.path.join(here, "corpus", target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


# --- line reader and extractor: control byte, then the file ---------------
LR = "fuzz_linereader_extract"
put(LR, "plain_lf", b"\x07a,b,,c\nSmith,John,14\n")
put(LR, "quotes", b'\x07  "Smith, John"  ,x\n"say ""hi"""\n"ab"cd,e\n"open\n')
put(LR, "line_ends", b"\x05one\rtwo\r\nthree\n\r\rlast")
put(LR, "blanks_slash", b"\x08a    b   ,  / ,//,\\\\123, \\x\\y\n")
put(LR, "invalid_bytes", b"\x05Jos\xe9,\x85,a\x00b,\x01\n")
put(LR, "header_row", b"\x1dRG11 piece 123,\x85\x85,\n")
put(LR, "too_long", b"\x07" + b"A" * 31 + b"," + b"B" * 45 + b"\n")
put(LR, "small_buffer", b"\x60abcdefgh\r\nij\rk")
put(LR, "utf8_marked", b"\x87Ren\xc3\xa9e,\xe2\x80\x98Le Pr\xc3\xa9\xe2\x80\x99,\xe2\x86\x92\r\n\xc5\x93\xe0\x80\xed\xa0\x80\xf0\x9f\x98\n\xc3")
put(LR, "utf8_small_buffer", b"\xa7\xef\xbb\xbf\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\xf4\x90\x80\x80,\xc3\r\xe2\x82")
put(LR, "utf8_no_mark", b"\x04Ren\xc3\xa9e,Lef\xc3\xa8vre\r\n\xe9\xc3\n")
put(LR, "cp1252_first", b"\x44O\x92Neill,Ren\xe9e,\xc3\xa9\n")
put(LR, "utf16_low_first", b"\x04\xff\xfeA\x00,\x00\xe9\x00\r\x00\n\x00=\xd8\x00\xde\"\x00\x00\xdcx")
put(LR, "utf16_high_first", b"\x64\xfe\xff\x00A\x00,\x00\"\x00\n\x00b\x00\"\x00\n\xd8")
# Line breaks inside cells: SS-CENS layout (row 2 the reference) and ALL.
put(LR, "cell_breaks_ss_cens", b"\x05RG11,\"x\ny\"\nA,\"B\r\nC\",D\nr3\np,\"q\rr\",s\np,\"q\nr\"\n\"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\",x,y\n")
put(LR, "cell_breaks_all", b"\x15\"x\ny\",b\n\na,b\nc,\"d \"\"\ne\"\"\"\nf,\"g\nh\",i\nj,\"open")

# --- census names ------------------------------------------------------------
CN = "fuzz_census"
for name in ["RG110123", "rg11123", "RG9123", "RG090045", "RS6110456", "RS6100456",
             "RS6050456", "HO107123", "HO117123", "HO118123", "HO129123", "HO108123",
             "HO101234", "HO1071234", "HO4B0123", "HO410123", "HS410123", "HO5A0007",
             "RG13", "RG11_0123", "XY123", "HS5120009", "RS0150001", "RG120045"]:
    put(CN, name, name.encode())

# --- whole converter: switch byte, census byte, then the CSV --------------------
CV = "fuzz_convert"
titles256 = ("Civil Parish,ED,Folio,Page,Schedule,House Number,Address,Uninhabited Flag,Surname,"
             "Forenames,Name Flag,Relationship,Condition,Sex,Age,Detail Flag,Occupation,"
             "Employed Status,Occupation Flag,Chapman Code,Birth Place,Birth Place Flag,"
             "Disability,Language,Notes")
titles276 = titles256.replace("Civil Parish,", "Civil Parish,District,")
titles299 = titles276.replace("Birth Place Flag,", "Birth Place Flag,Alt Chapman Code,Alt Birth Place,")
titles299_1841 = titles299 + ",Book"

rows256 = [
    "Merrowby,1,4,1,1,,Church Lane,,Ashdown,Thomas,,Head,M,M,46,,Agricultural Labourer,,,SOM,Merrowby,,,,",
    ",,,,,,,,Ashdown,Hannah,,Wife,M,F,44,,,,,SOM,Cheddon,,,,",
    ",,,,,,,,Ashdown,Ellen,,Dau,,F,9,,Scholar,,,SOM,Merrowby?,,,,",
    ",,,2,2,,Mill Cottages,u,,,,,,,,,,,,,,,,,",
    ",,,,3,,Mill Cottages,,Gorringe,Edith,,Head,W,F,62,,Laundress,,,SOM,Merrowby,,,,",
    ",,,,,,,,,,,,,,,,,,,,,,,,",
    ",,,,,,,,Gorringe,\"Mary, Ann\",,Gdau,,F,3m,,,,,SOM,Merrowby,,,,",
]


def widen(row, rlen):
    cells = row.split(",")
    if rlen >= 276:
        cells.insert(1, "Merrowby RD" if cells[0] else "")
    if rlen == 299:
        at = len(cells) - 3  # after the birth place flag
        cells[at:at] = ["", ""]
    return ",".join(cells)


def sscens(head, titles, rows, eol="\r\n"):
    return (eol.join([head, titles, "Transcribed by volunteer XYZ,,"] + rows) + eol).encode("latin-1")


put(CV, "rg11_256", b"\x00\x00" + sscens("RG11 piece 123,,", titles256, rows256))
put(CV, "rg11_276", b"\x01\x00" + sscens("RG11 piece 123,,", titles276, [widen(r, 276) for r in rows256]))
put(CV, "rg12_299_r", b"\x22\x03" + sscens("RG12 piece 45,,", titles299, [widen(r, 299) for r in rows256]))
put(CV, "ho107_256_book", b"\x00\x01" + sscens("HO107 piece 123,7,", titles256,
                                               [r.replace("Ashdown", "Ashdown").replace(",46,", ",45,") for r in rows256]))
put(CV, "ho107_299_book", b"\x02\x01" + sscens("HO107 piece 123,7,", titles299_1841,
                                               [widen(r, 299) + ",7" for r in rows256]))
put(CV, "rs8_quiet", b"\x04\x02" + sscens("RS8 piece 456,,", titles256, rows256, eol="\n"))
put(CV, "rg11_verbose_cr", b"\x08\x00" + sscens("RG11 piece 123,,", titles256, rows256, eol="\r"))
put(CV, "rg11_odd_bytes", b"\x00\x00" + sscens("RG11 piece 123,,", titles256, [
    "Merrowby,1,4,1,1,,Church Lane,,Ash\x85down,Thom\x00as,,Head,M,M,46,,Lab,,,SOM,Merrowby,,,,",
    "DELETED,,,,,,,,Ashdown,Hannah,,Wife,M,F,44,,,,,SOM,Cheddon,,,,",
    ",,,,0012,,,,\"open,,Wife,M,F,0012,,,,,SOM,Cheddon,,,,",
    ",,,,,,,,Ashdown,Ellen,,Dau,,F,9999,,Scholar is a very long occupation text that goes on,,,SOM,X,,,,",
]))
all_rows = [
    " ,7,1,1,Merrowby,1,4,1,1,,Church Lane,,Ashdown,Thomas,,Head,M,M,46,,Labourer,,SOM,Merrowby,,,",
    " ,7,1,2,,,,,,,,,Ashdown,Hannah,,Wife,M,F,44,,,,SOM,Cheddon,,,",
    "D,7,2,1,,,,,2,,Mill Cottages,u,,,,,,,,,,,,,,,",
    " ,7,1234567,12345,,,,,3,,,,Gorringe,Edith,,Head,W,F,62,,Laundress,,SOM,Merrowby,,,",
]
put(CV, "all_256", b"\x10\x00" + ("\r\n".join(all_rows) + "\r\n").encode())
put(CV, "all_299_quiet", b"\x16\x01" + ("\n".join(r + ",Merrowby RD,DEV,Tiverton" for r in all_rows) + "\n").encode())
put(CV, "empty_file", b"\x00\x00")
put(CV, "one_header_row", b"\x00\x00RG11 piece 123,,\r\n")
put(CV, "wrong_title_count", b"\x01\x00" + sscens("RG11 piece 123,,", titles256, rows256[:1]))
put(CV, "bom_accents", b"\x00\x00\xef\xbb\xbf" + sscens("RG11 piece 123,,", titles256, [
    "Merrowby,1,4,1,1,,Rue des \xc3\x89coles,,Lef\xc3\xa8vre,Ren\xc3\xa9e,,Head,M,F,46,,Lace Maker,,,SOM,Merrowby,,,,"]))

# --- report writer: layout byte, the piece's length (2 bytes), piece, listing ---
RP = "fuzz_report"


def report_seed(name, layout, piece, listing):
    put(RP, name, bytes([layout, len(piece) >> 8, len(piece) & 255]) + piece + listing.encode("latin-1"))


listing_head = ("Error listing for tabulon (Merrowby) v4.11.2 Mon Dec  7 12:00:00 2026 UTC converting RG110123.CSV\n"
                "[When reporting program errors, be sure to send this file and the original data file]\n\n")
report_seed("rg11_findings", 0, sscens("RG11 piece 123,,", titles256, rows256),
            listing_head + "Census year = 1881, input format = SS-CENS, output format = IN-CENS\n\n"
            "Warning: row 6, trailing \"?\" removed and flag set.\n"
            "Warning: row 7, page number = 2 not sequential\n"
            "Warning: row 9 blank, ignored\n"
            "Info: row 10, address missing\n"
            "Warning: row 40, page number = 9 not sequential\n"
            "\nOutput 6 records, highest household number = 3\n\nOutput file is rg110123.dat\n")
report_seed("all_299", 1 + 4, ("\r\n".join(r + ",Merrowby RD,DEV,Tiverton" for r in all_rows) + "\r\n").encode(),
            listing_head + "Census year = 1881, input format = ALL, output format = VALD-REV\r\n\r\n"
            "Error: row 1, household number = 0 not valid\r\nWarning: row 2, unrecognised alternate county code DEV\r\n")
report_seed("odd_cells", 128, b'RG11,\nA,B\n,\n<b>&amp;,"x""y",\x00\x81\x85,Sm?th,J?n\n',
            "Error: row 4, field contains an invalid character <\x85>\n"
            "Warning: row 4, trailing \"?\" removed and flag set.\nWarning: row 4, \"?\" detected, flag set.\n"
            "Error: row 4, <script>\nWarning: Book numbers not set\n")
report_seed("fatal", 2, b"", "Warning: Cell A1 doesn't contain a valid piece number\n\n"
            "Fatal: row 2, File type switch does not match number of columns in data (25)\n"
            "\tall the titles in row 2 must be non-blank\n")

# --- editor: mode byte, file length (2 bytes, little-endian), file, replies ----
QL = "fuzz_quillet"


def header(tid, spare, name):
    return tid.ljust(4).encode() + spare.ljust(4).encode() + name.ljust(56).encode()


def piece(num, district, film, households, records):
    return (num.ljust(8) + district.ljust(20) + film.ljust(8) + "  " +
            "%06d%06d" % (households, records) + " " * 14).encode()


def parish(num, name, mark=None, by="", on=""):
    head = (num.ljust(8) + name.ljust(20) + " " * 6).encode()
    if mark is None:
        return head + b"\0" * 27 + b"   "
    return head + mark.encode() + by.ljust(4).encode() + on.encode() + b" " * 13 + b"   "


params = (header("KTW", "0002", "Kestrel T. Wainfleet")
          + piece("0731", "Ashcombe", "2201934", 57, 240)
          + parish("0731", "Ashcombe Magna", "*", "KTW", "03Jun2024")
          + parish("0731", "Nether Ashcombe")
          + parish("0731", "Pollards Green", "C", "DLR", "19Aug2023")
          + piece("0732", "Ashcombe", "2201934", 0, 0)
          + parish("0732", "Holloway End")
          + piece("0790", "Brindle", "2201977", 12, 55))


def seed(name, data, script, listing=False):
    put(QL, name, bytes([1 if listing else 0, len(data) & 255, len(data) >> 8]) + data + script)


seed("listing", params, b"", listing=True)
seed("edit_all", params, b"ab\nNew Transcriber\n0731\n42\n180\nY\ny\nyes\n0732\n\n7\nY\n0790\n\n\n\n")
seed("edit_nothing", params, b"\n\n0731\n\n\n\n\n\n\n")
seed("refused", params, b"ABCDE\n\n0731\n-5\n1234567\nY\n\n\n0999\n731\n\n")
seed("crlf_nul", params, b"zz\r\n\r\n0732\r\n  0012abc\r\n+9\r\nY\x00junk\r\n\r\n")
seed("twice", params, b"\n\n0731\n1\n\nY\n\n\n0731\n\n2\nY\n\n\n\n")
seed("header_only", params[:64], b"Q\nname\n0731\n\n")
seed("short_file", params[:40], b"\n")
seed("partial_last", params + b"0790    Tail", b"\n\n0790\n5\n5\n\n")
seed("duplicate_piece", params + piece("0731", "Elsewhere", "1", 1, 1) + parish("0731", "Late Parish"),
     b"\n\n0731\n\n\n\n\n\n0731\n3\n\n")
seed("damaged_counts", header("AB", "", "N") + piece("0001", "D", "F", 0, 0)[:38] + b"-00012  42ab" + b" " * 14,
     b"\n\n0001\n\n9\n")
