// The messages of the lookup benchmarks, the same for every catalogue
// format: 10,000 synthetic identifiers, and 5,744 messages of about 50
// bytes on average, as a real application's catalogue holds.
#pragma once

#include <string>
#include <vector>

struct TMessage {
    std::string Id;
    std::string Text;
};

inline const char* const CatalogueContext = "zxbench";

inline std::vector<TMessage> SyntheticMessages() {
    std::vector<TMessage> messages;
    for (int i = 0; i < 10000; ++i)
        messages.push_back({"SID_" + std::to_string(i), "Translated text number " + std::to_string(i)});
    return messages;
}

// Sentences of varied length built from a small vocabulary, each unique by
// its number.
inline std::vector<TMessage> CatalogueMessages() {
    static const char* const words[] = {"open",   "the",     "file",    "could", "not",  "be",
                                        "saved",  "because", "folder",  "is",    "full", "select",
                                        "a",      "printer", "before",  "you",   "go",   "on",
                                        "delete", "all",     "entries", "of",    "this", "list"};
    std::vector<TMessage> messages;
    unsigned seed = 12345;
    for (int i = 0; i < 5744; ++i) {
        std::string id;
        const int count = 3 + static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16) % 11;
        for (int w = 0; w < count; ++w) {
            seed = seed * 1103515245u + 12345u;
            id += (w ? " " : "") + std::string(words[(seed >> 16) % 24]);
        }
        id += " " + std::to_string(i);
        messages.push_back({id, "Uebersetzt: " + id});
    }
    return messages;
}
