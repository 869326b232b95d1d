# Reads CTest's Testing/Temporary/LastTest.log and prints the skipped tests under their
# reason (the first line gtest printed after "Skipped"), then one line with the counts.

/^[0-9]+\/[0-9]+ Test: / {
    total++
    name = $3
    reason = ""
    next
}
wanted {
    reason = $0
    wanted = 0
    next
}
/: Skipped$/ && reason == "" {
    wanted = 1
    next
}
/^Skip regular expression found in output/ {
    if (reason == "")
        reason = "no reason given"
    if (!(reason in count))
        order[++reasons] = reason
    count[reason]++
    names[reason] = names[reason] "    " name "\n"
    skipped++
}
END {
    if (!skipped) {
        printf "No test skipped (%d tests).\n", total
        exit
    }
    line = ""
    for (i = 1; i <= reasons; i++) {
        r = order[i]
        printf "Skipped, %s:\n%s", r, names[r]
        short = r
        cut = index(short, ": ")
        if (cut > 0)
            short = substr(short, 1, cut - 1)
        line = line (i > 1 ? ", " : "") count[r] " for " short
    }
    printf "%d of %d tests skipped: %s.\n", skipped, total, line
}
