# Reads a --help text in the form all the programs' help texts share: a first
# line "Upotreba: ...", paragraphs at the left margin, lists indented by two
# spaces ("  TERM  description", a long description continued further right),
# examples indented without such a gap, and a paragraph "Izlazni status: ...".
# The variable part picks what to print:
#   usage     the first line's synopsis, as roff
#   body      all but the synopsis and the exit status, as roff; with
#             heading=SS a line that opens a list ("Naredbe:") becomes a
#             subsection heading
#   status    the exit status paragraph without its label, as roff
#   commands  the names listed under "Naredbe:", one a line
#   options   the options the lists name, one a line

function escape(text) {
    gsub(/\\/, "\\e", text)
    gsub(/-/, "\\-", text)
    return text
}

# A line that starts with a dot or an apostrophe would be a roff request.
function guarded(text) {
    return (text ~ /^[.']/ ? "\\&" : "") text
}

# Options and command names bold, what stands for a value italic.
function styled(word,   before, after) {
    before = ""
    after = ""
    if (word ~ /^\[/) { before = "["; word = substr(word, 2) }
    if (word ~ /\]$/) { after = "]"; word = substr(word, 1, length(word) - 1) }
    if (word ~ /\.\.\.$/) { after = "..." after; word = substr(word, 1, length(word) - 3) }
    if (word ~ /,$/) { after = "," after; word = substr(word, 1, length(word) - 1) }
    if (word == "")
        return before after
    if (word ~ /^-/ || (before == "" && word ~ /^[a-z]/))
        return before "\\fB" escape(word) "\\fR" after
    return before "\\fI" escape(word) "\\fR" after
}

function styledWords(text,   count, words, i, out) {
    count = split(text, words, / +/)
    out = ""
    for (i = 1; i <= count; i++)
        out = out (i > 1 ? " " : "") styled(words[i])
    return out
}

function indentOf(text) {
    match(text, /^ */)
    return RLENGTH
}

# Splits "  TERM  description" into term and description; false for a line
# without the gap.
function splitItem(text,   rest) {
    rest = substr(text, indentOf(text) + 1)
    if (!match(rest, /  +[^ ]/))
        return 0
    term = substr(rest, 1, RSTART - 1)
    description = substr(rest, RSTART + RLENGTH - 1)
    return 1
}

function endBlock() {
    if (mode == "literal") {
        print ".fi"
        print ".RE"
    }
    mode = ""
}

function printBody(   i, text, indent) {
    mode = ""
    for (i = 1; i <= NR; i++) {
        text = line[i]
        if ((i == 1 && text ~ /^Upotreba: /) || (i >= statusFirst && i <= statusLast))
            continue
        if (text == "") {
            endBlock()
            continue
        }
        indent = indentOf(text)
        if (indent == 0) {
            if (mode == "list" || mode == "literal" || mode == "heading")
                endBlock()
            if (mode == "") {
                if (heading == "SS" && text ~ /:$/ && line[i + 1] ~ /^ /) {
                    print ".SS \"" escape(text) "\""
                    mode = "heading"
                    continue
                }
                print ".PP"
                mode = "prose"
            } else if (text ~ /^[A-Z][a-z]+( [a-z]+)*: /) {
                # "Verzija: ..." under "Pomoc za naredbu: ...": a line of its own
                print ".br"
            }
            print guarded(escape(text))
            continue
        }
        if (mode == "list") {
            if (indent == itemIndent && splitItem(text)) {
                printItem()
                continue
            }
            if (indent > itemIndent) {
                sub(/^ +/, "", text)
                print guarded(escape(text))
                continue
            }
            endBlock()
        } else if (mode == "literal") {
            print guarded(escape(substr(text, literalIndent + 1)))
            continue
        }
        if (splitItem(text)) {
            mode = "list"
            itemIndent = indent
            printItem()
        } else {
            mode = "literal"
            literalIndent = indent
            print ".PP"
            print ".RS 4"
            print ".nf"
            print guarded(escape(substr(text, indent + 1)))
        }
    }
    endBlock()
}

function printItem() {
    print ".TP"
    print styledWords(term)
    print guarded(escape(description))
}

{ line[NR] = $0 }

END {
    statusFirst = statusLast = 0
    for (i = 1; i <= NR; i++) {
        if (line[i] ~ /^Izlazni status: /) {
            statusFirst = statusLast = i
            while (statusLast < NR && line[statusLast + 1] != "")
                statusLast++
            break
        }
    }

    if (part == "usage") {
        if (line[1] !~ /^Upotreba: /) {
            print "help-text.awk: the help does not start with \"Upotreba: \"" > "/dev/stderr"
            exit 1
        }
        print styledWords(substr(line[1], length("Upotreba: ") + 1))
    } else if (part == "body") {
        printBody()
    } else if (part == "status") {
        for (i = statusFirst; i && i <= statusLast; i++) {
            text = line[i]
            sub(/^Izlazni status: /, "", text)
            print guarded(escape(text))
        }
    } else if (part == "commands") {
        listed = 0
        for (i = 1; i <= NR; i++) {
            if (line[i] !~ /^ /)
                listed = (line[i] == "Naredbe:")
            else if (listed) {
                split(line[i], words, / +/)
                print words[2]
            }
        }
    } else if (part == "options") {
        for (i = 1; i <= NR; i++) {
            if (line[i] ~ /^ +-/ && splitItem(line[i])) {
                count = split(term, words, / +/)
                for (w = 1; w <= count; w++) {
                    if (words[w] ~ /^\[?-/) {
                        gsub(/[][,]/, "", words[w])
                        print words[w]
                    }
                }
            }
        }
    }
}
