#include "platform/trace.h"

namespace kiv {

Trace::~Trace() {
    if (file_) std::fclose(file_);
}

bool Trace::Open(const std::string& path) {
    if (file_) std::fclose(file_);
    file_ = std::fopen(path.c_str(), "wb");
    // Every line reaches the file as it is written: `tail -f` follows a live game, and a crash
    // loses nothing written before it.
    if (file_) std::setvbuf(file_, nullptr, _IOLBF, 1 << 12);
    return file_ != nullptr;
}

std::string Trace::Str(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string Trace::RectJson(const Rect& r) {
    std::string s(1, '[');  // not "[" + ...: GCC 12 warns falsely on a literal + string temporary
    s += Num(r.Left) + "," + Num(r.Top) + "," + Num(r.Right) + "," + Num(r.Bottom);
    return s + "]";
}

void Trace::Event(std::string_view ev, std::initializer_list<Field> fields) {
    if (!file_) return;
    std::string line =
        "{\"t\":" + Num(tick_) + ",\"frame\":" + Num(static_cast<int64_t>(frames_)) + ",\"ev\":" + Str(ev);
    for (const Field& f : fields) {
        line += ",\"";
        line += f.name;
        line += "\":";
        line += f.json;
    }
    line += "}\n";
    std::fwrite(line.data(), 1, line.size(), file_);
}

}  // namespace kiv
