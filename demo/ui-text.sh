# Sourced by the demo and the Wine checks: the product's names and the installer's texts in a
# language, as setup.exe shows them. Needs $root (the source tree) and, for ui_text, $language_file
# (the chosen language's .lng file, empty for English, whose texts are built in); see
# language_file_of.

# A constant of the product's names and version (kProductName, kSetupVersion).
constant() { sed -n "s/.*$1\[\] = \"\(.*\)\";/\1/p" "$root/src/util/product.h"; }

# The marked language file of demo/lang whose caption is $1; nothing for English.
language_file_of() {
    [ "$1" = English ] && return 0
    grep -l "caption='$1'" "$root"/demo/lang/*/*.lng | head -1 || true
}

# The string-table text $1 in the chosen language, with its "%s" marks filled in order by the
# further arguments. English defaults are read from ui_strings.cpp, where only those written on one
# line are found.
ui_text() {
    local key=$1 text=
    shift
    if [ -n "$language_file" ]; then
        text=$(grep -i "<ITEM ID=\"$key\" " "$language_file" | sed -n 's/.*VALUE="\([^"]*\)".*/\1/p' |
            head -1)
    fi
    if [ -z "$text" ]; then
        text=$(sed -n "s/.*{$key, \"$key\", u\"\(.*\)\"},.*/\1/p" "$root/src/i18n/ui_strings.cpp")
    fi
    text=$(printf '%s' "$text" | sed 's/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&apos;/'"'"'/g; s/&amp;/\&/g')
    local value
    for value in "$@"; do
        text=${text/'%s'/$value}
    done
    printf '%s' "$text"
}
