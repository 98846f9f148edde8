#include "reports/Phrasing.h"

#include "reports/TextConventions.h"

namespace orv {

std::string_view ComparisonText(Integer code) {
    switch (code) {
    case 0: return " = ";
    case 1: return " <> ";
    case 2: return " < ";
    case 3: return " > ";
    default: return "";
    }
}

void AppendFlagCondition(std::string& out, Integer flag, Integer op, Integer value) {
    out.append("flag #");
    AppendSigned(out, flag);
    out.append(ComparisonText(op));
    AppendPlain(out, value);
}

void AppendSetFlagPhrase(std::string& out, Integer flag, Integer value) {
    out.append("set flag #");
    AppendSigned(out, flag);
    out.append(" to value ");
    AppendPlain(out, value);
}

void AppendAddFlagPhrase(std::string& out, Integer amount, Integer flag) {
    out.append("add ");
    AppendPlain(out, amount);
    out.append(" to the current value of flag #");
    AppendSigned(out, flag);
}

void AppendChangePhrase(std::string& out, Integer flag, Integer value, bool adds) {
    if (adds)
        AppendAddFlagPhrase(out, value, flag);
    else
        AppendSetFlagPhrase(out, flag, value);
}

} // namespace orv
