# SPDX-License-Identifier: MIT
# Writes a file of scan lines for comparing the decoders of two builds: every value of
# a group's first byte, then pseudo-random lines with the irregularities a scan log can
# hold (LF or CR LF line ends, characters outside the alphabet, UTF-8 and invalid bytes,
# a Ctrl+Z byte, lines too short to decode). Deterministic; run with LC_ALL=C so that
# the octal escapes stay single bytes.
#   awk -v lines=500 -f scan-lines.awk > scan-lines.txt

function random(limit) {
    # Park-Miller: the products stay below 2^53, exact in awk's doubles.
    seed = (seed * 16807) % 2147483647
    return seed % limit
}

function symbols(count,    text, i) {
    text = ""
    for (i = 0; i < count; ++i)
        text = text substr(alphabet, random(64) + 1, 1)
    return text
}

function symbol(slot) {
    return substr(alphabet, slot + 1, 1)
}

# A data field with now and then a character that stands in no slot.
function noisySymbols(count,    text, i) {
    text = ""
    for (i = 0; i < count; ++i) {
        if (random(12) == 0)
            text = text noise[random(noiseCount)]
        else
            text = text substr(alphabet, random(64) + 1, 1)
    }
    return text
}

function scanLine(data, ending) {
    return "~" symbols(24) "." symbols(4) "." data "." ending
}

BEGIN {
    alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/"
    seed = 20261208
    if (lines == "")
        lines = 500
    noiseCount = split("- . _ \t \r \303\251 \342\202\254 \377 \200 \032 \000", noise, " ")
    # split() numbers from 1; move to 0..noiseCount-1 for random()
    for (i = 0; i < noiseCount; ++i)
        noise[i] = noise[i + 1]

    # Every first byte: the first symbol gives its top six bits, the top two bits of the
    # second symbol its lowest two. 16 groups a line.
    data = ""
    for (value = 0; value < 256; ++value) {
        data = data symbol(int(value / 4)) symbol((value % 4) * 16) symbols(2)
        if (value % 16 == 15) {
            printf "%s", scanLine(data, "\r\n")
            data = ""
        }
    }

    for (n = 0; n < lines; ++n) {
        kind = random(20)
        ending = random(3) == 0 ? "\n" : "\r\n"
        if (kind == 0)
            printf "~%s%s", symbols(random(33)), ending      # too short to decode
        else if (kind == 1)
            printf "%s", scanLine("", ending)                  # no data
        else
            printf "%s", scanLine(noisySymbols(random(90)), ending)
    }
    printf "%s", scanLine(symbols(8), "")                      # last line without a line end
}
