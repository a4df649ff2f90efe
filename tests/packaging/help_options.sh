# Sourced by the tests that hold something against morvane-cli's options.
# help_options PROGRAM prints each option that PROGRAM --help offers, one a
# line, sorted: the names that begin its option rows, as "  -n, --volumes=N"
# and "      --backup[=SUFFIX]", without their values.
help_options() {
    "$1" --help | sed -nE 's/^ {2,6}(-[^ ].*)$/\1/p' | sed -E 's/  .*//' | tr ',' '\n' |
        sed -E 's/^ +//; s/(=|\[).*//' | sort -u
}
