// Writes the message catalogues of bench_gettext as Qt translation sources
// (.ts) for lrelease: the synthetic identifiers and a catalogue shaped like
// an application's (5,744 messages, about 50 bytes each).
#include "CatalogueData.h"

#include <fstream>
#include <iostream>

namespace {

std::string Escaped(const std::string& Text) {
    std::string escaped;
    for (char c : Text)
        escaped += c == '&' ? std::string("&amp;") : c == '<' ? std::string("&lt;") : std::string(1, c);
    return escaped;
}

void WriteTs(const char* FileName, const std::vector<TMessage>& Messages) {
    std::ofstream ts(FileName);
    ts << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
          "<TS version=\"2.1\" language=\"de\">\n<context>\n<name>" << CatalogueContext
       << "</name>\n";
    for (const TMessage& message : Messages)
        ts << "<message><source>" << Escaped(message.Id) << "</source><translation>"
           << Escaped(message.Text) << "</translation></message>\n";
    ts << "</context>\n</TS>\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_catalogue SYNTHETIC.ts CATALOGUE.ts\n";
        return 2;
    }
    WriteTs(argv[1], SyntheticMessages());
    WriteTs(argv[2], CatalogueMessages());
    return 0;
}
