// Cases of the profile-file rules, as plain data: a file's bytes before, one operation, and what
// it must give. Natively they run against the INI engine; under Wine the same table runs against
// the engine and the system's own profile functions side by side. Names, values and what reads
// give are ANSI (code page 932) bytes; so is the file, unless the case says it is stored in
// another encoding.
#pragma once

namespace folvane::ini_cases {

// How a case's file is stored. Ansi: before and expected are the file's bytes. The others:
// before and expected are the file's text in UTF-8, stored in that encoding behind its
// byte-order mark.
enum class Stored { Ansi, Utf8, Utf16Le, Utf16Be };

enum class Op {
  Read,     // a value (buffer of 128 bytes); argument is the default
  Section,  // the section's entries, each followed by "\n"
  Write,    // store argument as the key's value
  Remove,   // the value absent: remove the key
};

struct IniCase {
  const char* name;
  const char* before;  // the file's bytes; nullptr: there is no file
  Op op;
  const char* section;
  const char* key;
  const char* argument;
  // Read and Section: the result. Write and Remove: the file's bytes after (nullptr: no file).
  const char* expected;
  // Write and Remove: the system rewrites the file in this very layout too. Where it does not
  // (it drops blank lines and normalises every line it rewrites), the two files must still read
  // the same.
  bool systemLayout = true;
  Stored stored = Stored::Ansi;
};

// "あ" (two bytes), repeated, for the cut of long values.
#define FOLVANE_A10 \
  "\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0"
#define FOLVANE_X50 "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
// "営" in the ANSI code page, repeated.
#define FOLVANE_EI10 \
  "\x89\x63\x89\x63\x89\x63\x89\x63\x89\x63\x89\x63\x89\x63\x89\x63\x89\x63\x89\x63"

inline constexpr IniCase kCases[] = {
    // ---- Reading a value ----------------------------------------------------------------------
    {"no file gives the default", nullptr, Op::Read, "A", "k", "def", "def"},
    {"missing section gives the default", "[B]\r\nk=1\r\n", Op::Read, "A", "k", "def", "def"},
    {"missing key gives the default", "[A]\r\nj=1\r\n", Op::Read, "A", "k", "def", "def"},
    {"empty value is not the default", "[A]\r\nk=\r\n", Op::Read, "A", "k", "def", ""},
    {"blank value is empty", "[A]\r\nk=   \r\n", Op::Read, "A", "k", "def", ""},
    {"line without = has no value", "[A]\r\nk\r\n", Op::Read, "A", "k", "def", "def"},
    {"blanks around names and value", "  [A]  \r\n \t k \t= \t v v \t \r\n", Op::Read, "A", "k",
     "def", "v v"},
    {"blanks inside the brackets", "[ A ]\r\nk=1\r\n", Op::Read, "A", "k", "def", "1"},
    {"ASCII case of names does not matter", "[passwordSETdata]\r\nDOCS=1\r\n", Op::Read,
     "PasswordSetData", "docs", "def", "1"},
    {"first = separates key and value", "[A]\r\nk=b=c\r\n", Op::Read, "A", "k", "def", "b=c"},
    {"double quotes are dropped", "[A]\r\nk=\"v w\"\r\n", Op::Read, "A", "k", "def", "v w"},
    {"single quotes are dropped", "[A]\r\nk='v'\r\n", Op::Read, "A", "k", "def", "v"},
    {"quotes inside stay", "[A]\r\nk=\"a\"b\"\r\n", Op::Read, "A", "k", "def", "a\"b"},
    {"unmatched quotes stay", "[A]\r\nk=\"a'\r\n", Op::Read, "A", "k", "def", "\"a'"},
    {"a lone quote stays", "[A]\r\nk=\"\r\n", Op::Read, "A", "k", "def", "\""},
    {"first of duplicate keys wins", "[A]\r\nk=1\r\nK=2\r\n", Op::Read, "A", "k", "def", "1"},
    {"only the first of duplicate sections is read", "[A]\r\nx=1\r\n[a]\r\nk=2\r\n", Op::Read, "A",
     "k", "def", "def"},
    {"comment lines are no entries", "[A]\r\n;k=1\r\n", Op::Read, "A", "k", "def", "def"},
    {"# does not start a comment", "[A]\r\n#k=1\r\n", Op::Read, "A", "#k", "def", "1"},
    {"keys before the first header are in no named section", "k=1\r\n[A]\r\nj=2\r\n", Op::Read, "A",
     "k", "def", "def"},
    {"text after ] is ignored", "[A] old\r\nk=1\r\n", Op::Read, "A", "k", "def", "1"},
    {"[ without ] opens no section", "[A]\r\n[B\r\nk=1\r\n", Op::Read, "A", "k", "def", "1"},
    {"LF line ends", "[A]\nj=1\nk=2\n", Op::Read, "A", "k", "def", "2"},
    {"CR line ends", "[A]\rj=1\rk=2\r", Op::Read, "A", "k", "def", "2"},
    {"no line end after the last line", "[A]\r\nk=2", Op::Read, "A", "k", "def", "2"},
    {"UTF-8 byte order mark", "\xEF\xBB\xBF[A]\r\nk=1\r\n", Op::Read, "A", "k", "def", "1"},
    {"double-byte names", "[\x83\x5C\x83t\x83g]\r\n\x83\x5C\x83t\x83g=1\r\n", Op::Read,
     "\x83\x5C\x83t\x83g", "\x83\x5C\x83t\x83g", "def", "1"},
    {"] as second byte closes no header", "[\x83]\r\nk=1\r\n", Op::Read, "", "k", "def", "1"},
    {"] after a double-byte character closes the header", "[\x83]]\r\nk=1\r\n", Op::Read, "\x83]",
     "k", "def", "1"},
    {"second byte of a character keeps its case", "[A]\r\n\x83\x41=1\r\n", Op::Read, "A",
     "\x83\x61", "def", "def"},
    {"full-width letters keep their case", "[A]\r\n\x82\x60=1\r\n", Op::Read, "A", "\x82\x81",
     "def", "def"},
    {"200 characters come back as 127",
     "[A]\r\nk=" FOLVANE_X50 FOLVANE_X50 FOLVANE_X50 FOLVANE_X50 "\r\n", Op::Read, "A", "k", "def",
     FOLVANE_X50 FOLVANE_X50 "xxxxxxxxxxxxxxxxxxxxxxxxxxx"},
    {"the cut never splits a double-byte character",
     "[A]\r\nk=x" FOLVANE_A10 FOLVANE_A10 FOLVANE_A10 FOLVANE_A10 FOLVANE_A10 FOLVANE_A10
         FOLVANE_A10 "\r\n",
     Op::Read, "A", "k", "def",
     "x" FOLVANE_A10 FOLVANE_A10 FOLVANE_A10 FOLVANE_A10 FOLVANE_A10 FOLVANE_A10
     "\x82\xA0\x82\xA0\x82\xA0"},
    {"trailing blanks of the default are dropped", nullptr, Op::Read, "A", "k", "100  ", "100"},
    {"quotes around the default are dropped", nullptr, Op::Read, "A", "k", "\"d\"", "d"},

    // ---- Listing a section --------------------------------------------------------------------
    {"entries in file order", "[A]\r\nDocs=116117118\r\nMusic=100\r\n[B]\r\nx=1\r\n", Op::Section,
     "A", nullptr, nullptr, "Docs=116117118\nMusic=100\n"},
    {"one entry", "[A]\r\nDocs=116117118\r\n", Op::Section, "a", nullptr, nullptr,
     "Docs=116117118\n"},
    {"no file lists nothing", nullptr, Op::Section, "A", nullptr, nullptr, ""},
    {"missing section lists nothing", "[B]\r\nx=1\r\n", Op::Section, "A", nullptr, nullptr, ""},
    {"empty section lists nothing", "[A]\r\n[B]\r\nx=1\r\n", Op::Section, "A", nullptr, nullptr,
     ""},
    {"comments and blank lines are left out, blanks trimmed, quotes kept",
     "[A]\r\n;c=1\r\n\r\n k = \"v\" \r\nbare\r\n=x\r\n#h=2\r\n", Op::Section, "A", nullptr, nullptr,
     "k=\"v\"\nbare\n=x\n#h=2\n"},
    {"entries holding , and =", "[A]\r\nC:\\a,b=1\r\nx=y=2\r\n", Op::Section, "A", nullptr, nullptr,
     "C:\\a,b=1\nx=y=2\n"},
    {"double-byte entries", "[A]\r\n\x83\x5C\x83t\x83g = 1 \r\n", Op::Section, "A", nullptr,
     nullptr, "\x83\x5C\x83t\x83g=1\n"},
    {"only the first of duplicate sections is listed", "[A]\r\nx=1\r\n[A]\r\nk=2\r\n", Op::Section,
     "A", nullptr, nullptr, "x=1\n"},

    // ---- Writing a value ----------------------------------------------------------------------
    {"the first write creates the file", nullptr, Op::Write, "A", "k", "v", "[A]\r\nk=v\r\n"},
    {"an empty file", "", Op::Write, "A", "k", "v", "[A]\r\nk=v\r\n"},
    {"a new key goes to the end of its section", "[A]\r\na=1\r\n[B]\r\nb=1\r\n", Op::Write, "A",
     "k", "v", "[A]\r\na=1\r\nk=v\r\n[B]\r\nb=1\r\n"},
    {"a new key goes before the blank lines ending its section", "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n",
     Op::Write, "A", "k", "v", "[A]\r\na=1\r\nk=v\r\n\r\n[B]\r\nb=1\r\n", false},
    {"an empty section takes the key after its header", "[A]\r\n[B]\r\n", Op::Write, "A", "k", "v",
     "[A]\r\nk=v\r\n[B]\r\n"},
    {"a replaced value keeps its place and the file's names", "[A]\r\na=1\r\nKey=old\r\nz=2\r\n",
     Op::Write, "a", "KEY", "new", "[A]\r\na=1\r\nKey=new\r\nz=2\r\n"},
    {"the same value changes nothing", "[A]\r\nk=v\r\n", Op::Write, "A", "k", "v",
     "[A]\r\nk=v\r\n"},
    {"an empty value is kept as an entry", "[A]\r\n", Op::Write, "A", "k", "", "[A]\r\nk=\r\n"},
    {"blanks before a value are dropped", "[A]\r\n", Op::Write, "A", "k", "  v", "[A]\r\nk=v\r\n"},
    {"a quoted value is replaced by the bare one", "[A]\r\nk=\"v\"\r\n", Op::Write, "A", "k", "v",
     "[A]\r\nk=v\r\n"},
    {"a line without = gets its value", "[A]\r\nk\r\n", Op::Write, "A", "k", "3", "[A]\r\nk=3\r\n"},
    {"a missing section goes to the end", "[A]\r\na=1\r\n", Op::Write, "B", "k", "v",
     "[A]\r\na=1\r\n[B]\r\nk=v\r\n"},
    {"a last line without line end gets one", "[A]\r\na=1", Op::Write, "B", "k", "v",
     "[A]\r\na=1\r\n[B]\r\nk=v\r\n"},
    {"a new key after a last line without line end", "[A]\r\na=1", Op::Write, "A", "k", "v",
     "[A]\r\na=1\r\nk=v\r\n"},
    {"the byte order mark stays", "\xEF\xBB\xBF[A]\r\na=1\r\n", Op::Write, "A", "k", "v",
     "\xEF\xBB\xBF[A]\r\na=1\r\nk=v\r\n"},
    {"a new key goes into the first of duplicate sections", "[A]\r\nx=1\r\n[A]\r\nk=2\r\n",
     Op::Write, "A", "k", "3", "[A]\r\nx=1\r\nk=3\r\n[A]\r\nk=2\r\n"},
    {"double-byte key", "[A]\r\n\x83\x5C\x83t\x83g=1\r\n", Op::Write, "A", "\x83\x5C\x83t\x83g",
     "2", "[A]\r\n\x83\x5C\x83t\x83g=2\r\n"},
    {"every other line stays as it was", " ; hi\n[A]\n  a = 1  \n\n\n[B]\nb=2\n", Op::Write, "A",
     "k", "v", " ; hi\n[A]\n  a = 1  \nk=v\r\n\n\n[B]\nb=2\n", false},
    {"a replaced value keeps its line's layout", "[A]\n  k = old  \nz=2\n", Op::Write, "A", "k",
     "new", "[A]\n  k = new  \nz=2\n", false},
    {"names are written trimmed", "[A]\r\n", Op::Write, " A ", " k ", "3", "[A]\r\nk=3\r\n", false},

    // ---- Removing a key -----------------------------------------------------------------------
    {"removing a key", "[A]\r\na=1\r\nk=v\r\nz=2\r\n", Op::Remove, "A", "k", nullptr,
     "[A]\r\na=1\r\nz=2\r\n"},
    {"removing regardless of case", "[A]\r\nKey=v\r\n", Op::Remove, "a", "KEY", nullptr, "[A]\r\n"},
    {"removing a missing key changes nothing", "[A]\r\na=1\r\n", Op::Remove, "A", "k", nullptr,
     "[A]\r\na=1\r\n"},
    {"removing from a missing section changes nothing", "[A]\r\na=1\r\n", Op::Remove, "B", "a",
     nullptr, "[A]\r\na=1\r\n"},
    {"removing from no file creates none", nullptr, Op::Remove, "A", "k", nullptr, nullptr},
    {"removing takes the first of duplicate keys", "[A]\r\nk=1\r\nk=2\r\n", Op::Remove, "A", "k",
     nullptr, "[A]\r\nk=2\r\n"},
    {"removing looks through duplicate sections", "[A]\r\nx=1\r\n[A]\r\nk=2\r\n", Op::Remove, "A",
     "k", nullptr, "[A]\r\nx=1\r\n[A]\r\n"},
    {"removing the last line without line end", "[A]\r\na=1\r\nk=2", Op::Remove, "A", "k", nullptr,
     "[A]\r\na=1\r\n"},
    {"removing keeps every other line", "; hi\n[A]\n k = 1 \n\n[B]\nb=2\n", Op::Remove, "A", "k",
     nullptr, "; hi\n[A]\n\n[B]\nb=2\n", false},
    // ---- Files saved as Unicode: the system reads them through the same rules, converts what
    // it gives to the ANSI code page, and writes them back in their own encoding ----------------
    {"a UTF-16 file", "[A]\r\nk=v\r\n", Op::Read, "A", "k", "def", "v", true, Stored::Utf16Le},
    {"a UTF-16 file holding Japanese", "[部署]\r\n営業=経理\r\n", Op::Read, "\x95\x94\x8F\x90",
     "\x89\x63\x8B\xC6", "def", "\x8C\x6F\x97\x9D", true, Stored::Utf16Le},
    {"UTF-16 blanks, case and quotes", "  [ a ]\x1a\r\n \t K \v= \t 'v v' \f\r\n", Op::Read, "A",
     "k", "def", "v v", true, Stored::Utf16Le},
    {"UTF-16 LF line ends", "[A]\nj=1\nk=2\n", Op::Read, "A", "k", "def", "2", true,
     Stored::Utf16Le},
    {"a character the code page lacks reads as ?", "[A]\r\nk=aāz\r\n", Op::Read, "A", "k", "def",
     "a?z", true, Stored::Utf16Le},
    {"a name with a character the code page lacks matches no ANSI name", "[A]\r\nkā=1\r\n",
     Op::Read, "A", "k?", "def", "def", true, Stored::Utf16Le},
    {"a UTF-16 value is cut to 127 bytes of whole characters",
     "[A]\r\nk="
     "営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営"
     "営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営営\r\n",
     Op::Read, "A", "k", "def",
     FOLVANE_EI10 FOLVANE_EI10 FOLVANE_EI10 FOLVANE_EI10 FOLVANE_EI10 FOLVANE_EI10
     "\x89\x63\x89\x63\x89\x63",
     true, Stored::Utf16Le},
    {"a UTF-16 file with only its byte order mark", "", Op::Read, "A", "k", "def", "def", true,
     Stored::Utf16Le},
    {"a big-endian UTF-16 file", "[A]\r\nk=営業\r\n", Op::Read, "A", "k", "def", "\x89\x63\x8B\xC6",
     true, Stored::Utf16Be},
    {"a UTF-8 file holding Japanese", "[A]\r\n営業=経理\r\n", Op::Read, "A", "\x89\x63\x8B\xC6",
     "def", "\x8C\x6F\x97\x9D", true, Stored::Utf8},
    {"a UTF-16 section", "[A]\r\n営業=1\r\n;c=2\r\n bare \r\nx=aāz\r\n[B]\r\ny=3\r\n", Op::Section,
     "A", nullptr, nullptr, "\x89\x63\x8B\xC6=1\nbare\nx=a?z\n", true, Stored::Utf16Le},
    {"a new key in a UTF-16 file", "[A]\r\nk=v\r\n", Op::Write, "A", "j", "\x89\x63\x8B\xC6",
     "[A]\r\nk=v\r\nj=営業\r\n", true, Stored::Utf16Le},
    {"characters the code page lacks stay in the lines a write leaves",
     "; ā 😀\r\n[A]\r\nk=v\r\n[B]\r\nx=😀ā\r\n", Op::Write, "A", "k", "w",
     "; ā 😀\r\n[A]\r\nk=w\r\n[B]\r\nx=😀ā\r\n", true, Stored::Utf16Le},
    {"a look-alike name is another key", "[A]\r\nkā=1\r\n", Op::Write, "A", "k?", "2",
     "[A]\r\nkā=1\r\nk?=2\r\n", true, Stored::Utf16Le},
    {"a new section in a UTF-16 file", "[A]\r\nk=v", Op::Write, "B", "k", "w",
     "[A]\r\nk=v\r\n[B]\r\nk=w\r\n", true, Stored::Utf16Le},
    {"the first entry of a UTF-16 file with only its byte order mark", "", Op::Write, "A", "k", "v",
     "[A]\r\nk=v\r\n", true, Stored::Utf16Le},
    {"a replaced UTF-16 value keeps its line's layout",
     "  [A]  \r\n  k = old  \r\n\r\n; c\r\n[B]\r\nb=1\r\n", Op::Write, "A", "k", "new",
     "  [A]  \r\n  k = new  \r\n\r\n; c\r\n[B]\r\nb=1\r\n", false, Stored::Utf16Le},
    {"removing from a UTF-16 file", "[A]\r\nk=v\r\nj=1\r\n", Op::Remove, "A", "k", nullptr,
     "[A]\r\nj=1\r\n", true, Stored::Utf16Le},
    {"a big-endian UTF-16 file stays big-endian", "[A]\r\nk=v\r\n", Op::Write, "A", "j", "\x89\x63",
     "[A]\r\nk=v\r\nj=営\r\n", true, Stored::Utf16Be},
    {"a UTF-8 file stays UTF-8", "[A]\r\nk=営\r\n", Op::Write, "A", "j", "\x89\x63",
     "[A]\r\nk=営\r\nj=営\r\n", true, Stored::Utf8},
};

#undef FOLVANE_A10
#undef FOLVANE_X50
#undef FOLVANE_EI10

}  // namespace folvane::ini_cases
