#include "PersonSelection.h"

#include "DeckCaptionText.h"
#include "DeckView.h"
#include "LogFile.h"
#include "PersonPanel.h"
#include "Replay.h"
#include "UiServices.h"
#include "ViewCommands.h"

#include <QAction>

#include <algorithm>
#include <limits>

TPersonSelection::TPersonSelection(TProjectSource project, const TReplay& replay, TDeckView& view,
                                   TViewCommands& decks, TPersonPanel& panel, QAction& followSwitch,
                                   QObject* parent)
    : QObject(parent), Project(std::move(project)), Replay(replay), View(view), Decks(decks),
      Panel(panel), FollowSwitch(followSwitch) {}

void TPersonSelection::Pick(std::optional<std::size_t> person) {
    if (person) {
        Select(*person);
    } else {
        Clear();
    }
}

void TPersonSelection::Select(std::size_t person) {
    TLogFile* project = Project();
    if (project == nullptr || person >= project->Persons.size()) {
        return;
    }
    Person = person;
    Shown.Person = person;
    Shown.Way = WayOf(project->Persons[person], project->XMax, project->YMax);
    Shown.Step = Replay.TimeStep();
    LeftBefore = FactsOf(project->Persons, person, Shown.Step).LeftBefore;
    View.ShowSelection(&Shown);
    ShowFacts();
    Panel.Reveal();
}

void TPersonSelection::Clear() {
    Person.reset();
    Shown.Way.clear();
    View.ShowSelection(nullptr);
    EndFollow();
    Panel.hide();
}

void TPersonSelection::FindPerson() {
    const TLogFile* project = Project();
    if (project == nullptr || project->Persons.empty()) {
        return;
    }
    const auto count = static_cast<std::int32_t>(
        std::min<std::size_t>(project->Persons.size(), std::numeric_limits<std::int32_t>::max()));
    const std::int32_t proposed = Person ? static_cast<std::int32_t>(*Person) + 1 : 1;
    const std::optional<std::int32_t> number = Ui().AskNumber(
        "Find person", "Person number (1 to " + std::to_string(count) + "):", proposed, 1, count);
    if (number) {
        Select(static_cast<std::size_t>(*number - 1));
        ShowFound();
    }
}

void TPersonSelection::SelectLastToLeave() {
    const TLogFile* project = Project();
    if (project == nullptr || project->Persons.empty()) {
        return;
    }
    // The longest move list leaves last.
    const auto last = std::ranges::max_element(
        project->Persons, {}, [](const TPersonData& person) { return person.Moves.Count(); });
    Select(static_cast<std::size_t>(last - project->Persons.begin()));
    ShowFound();
}

void TPersonSelection::SwitchFollow() {
    Following = !Following && Person.has_value();
    FollowSwitch.setChecked(Following);
    if (Following) {
        GoToPerson();
    }
}

void TPersonSelection::EndFollow() {
    Following = false;
    FollowSwitch.setChecked(false);
}

void TPersonSelection::ShowStep() {
    if (!Person) {
        return;
    }
    Shown.Step = Replay.TimeStep();
    if (Following) {
        GoToPerson();
    }
    View.ShowSelection(&Shown);
    if (Panel.isVisible()) {
        ShowFacts();
    }
}

void TPersonSelection::Drop() {
    Clear();
}

void TPersonSelection::GoToPerson() {
    const TLogFile* project = Project();
    if (project == nullptr || !Person) {
        return;
    }
    const TPersonData& person = project->Persons[*Person];
    if (person.Level < 0) {
        return; // it has left: the camera holds still
    }
    Decks.ShowDeck(person.Level);
    View.CentreOn(person.X(), person.Y());
}

void TPersonSelection::ShowFound() {
    const TLogFile* project = Project();
    if (project == nullptr || !Person) {
        return;
    }
    const TPersonData& person = project->Persons[*Person];
    const QString name = QStringLiteral("Person %1").arg(*Person + 1);
    const std::int32_t leaves = StepFactsOf(person, Shown.Step).LeaveStep;
    QString told;
    if (!person.Started) {
        told = name + QStringLiteral(" has not started: the file gives no start for it");
    } else if (Shown.Step >= leaves && !Shown.Way.empty()) {
        // The replay's time as the status bar shows it, the deck as the deck chooser names it.
        const TWayPoint& last = Shown.Way.back();
        told = name + QStringLiteral(" left at %1 from %2")
                          .arg(QString::fromStdString(ClockText(
                                   ReplayTimeSeconds(leaves, project->VMax, project->TOff))),
                               DeckCaptionText(*project, last.Level));
        Decks.ShowDeck(last.Level);
        View.CentreOn(SceneX(last.CellX), SceneY(last.CellY));
    } else {
        GoToPerson();
    }
    if (Tell) {
        Tell(told);
    }
}

void TPersonSelection::ShowFacts() {
    TLogFile* project = Project();
    if (project == nullptr || !Person) {
        return;
    }
    TPersonFacts facts = StepFactsOf(project->Persons[*Person], Replay.TimeStep());
    facts.LeftBefore = LeftBefore;
    Panel.SetText(DescribePerson(*project, *Person, facts, Replay.TimeStep()));
}
