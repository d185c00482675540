#include "BoxCap.h"

void TBoxCap::Reset(std::string summary) {
    *this = TBoxCap(std::move(summary));
}

TMsgResult TBoxCap::Pass(IUiServices& services, const std::string& title, const std::string& text,
                         TMsgIcon icon, TMsgButtons buttons) {
    if (buttons != TMsgButtons::Ok) {
        return services.MessageBox(title, text, icon, buttons);
    }
    std::string key = title + '\n' + text;
    if (!Seen.contains(key)) {
        if (Shown < MaxBoxes) {
            Seen.emplace(std::move(key), -1);
            ++Shown;
            return services.MessageBox(title, text, icon, buttons);
        }
        if (!SummaryShown) {
            SummaryShown = true;
            services.MessageBox("Warning", Summary, TMsgIcon::Exclamation, TMsgButtons::Ok);
        }
    }
    HoldBack(std::move(key), title, text);
    return TMsgResult::Ok;
}

void TBoxCap::HoldBack(std::string key, const std::string& title, const std::string& text) {
    std::int64_t& index = Seen.try_emplace(std::move(key), -1).first->second;
    if (index < 0) {
        index = static_cast<std::int64_t>(HeldBackBoxes.size());
        HeldBackBoxes.push_back({title, text, 0});
    }
    ++HeldBackBoxes[static_cast<std::size_t>(index)].Count;
}
