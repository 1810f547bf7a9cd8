#include "convert/RunCommit.h"

namespace qrv {

RunCommit::RunCommit(Services& services, Tables tables) : services_(services), outer_(services.runCommit) {
    if (tables == Tables::Changed) {
        scope_.emplace(services.store);
    }
    services_.runCommit = this;
}

RunCommit::~RunCommit() {
    services_.runCommit = outer_;
    // A next operation with the same services may be cancelled again.
    services_.committing_ = false;
}

void RunCommit::commit() {
    services_.beginCommit();
    outputs_.commit([this] {
        if (scope_) {
            scope_->commit();
        }
    });
    services_.runCommit = outer_;
    for (auto& item : told_) {
        if (const auto* text = std::get_if<std::string>(&item)) {
            services_.events.showMessage(MessageKind::Plain, *text);
        } else {
            services_.events.showReport(std::get<ShownReport>(item));
        }
    }
    told_.clear();
}

void Services::message(const std::string& text) const {
    if (runCommit != nullptr && runCommit->holdsTold()) {
        runCommit->tellAfter(text);
        return;
    }
    events.showMessage(MessageKind::Plain, text);
}

void Services::showReport(const ReportRunner& runner, RunResult& result) const {
    ShownReport shown = runner.prepare(store);
    // Only the rows of the tables this run filled: the others hold earlier runs' rows.
    shown.runTables = store.emptiedTables();
    result.reports.push_back(shown.layoutFile);
    if (runCommit != nullptr) {
        events.stageReport(shown, runCommit->outputs());
        runCommit->showAfter(std::move(shown));
        return;
    }
    OutputCommit files;
    events.stageReport(shown, files);
    files.commit([] {});
    events.showReport(shown);
}

}  // namespace qrv
