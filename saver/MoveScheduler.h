#pragma once
// The two timers of the saver window: Timer2 starts the animation once,
// Timer1 moves the frogs every 100 ms.

#include "platform/Platform.h"
#include "saver/FrogState.h"
#include "saver/Jumps.h"
#include "sprites/FrogDrawing.h"

#include <QObject>
#include <QTimer>

class QWindow;

class MoveScheduler : public QObject {
public:
    /** Timer2 is enabled from here on; window is raised, drawing gives the world's size. */
    MoveScheduler(platform::Platform& platform, QWindow& window, FrogDrawing& drawing,
                  Jumps& jumps, FrogState& greenFrog, FrogState& redFrog);

    /** Timer2's single tick: raises the window, saves the ground under both
     *  frogs and hands over to Timer1. */
    void StartTick();
    /** Timer1's tick: new targets, the flight rule, and one or two jumps. */
    void MoveTick();

    QTimer Timer1; // every 100 ms, MoveTick; disabled until StartTick
    QTimer Timer2; // once, 1 ms after creation, StartTick

private:
    void Timer1Tick();
    void newTarget(FrogState& frog);
    void tooCloseTest(bool& fled);
    void jumpTowardTarget(FrogState& frog);

    platform::Platform& platform_;
    QWindow& window_;
    FrogDrawing& drawing_;
    Jumps& jumps_;
    FrogState& GreenFrog;
    FrogState& RedFrog;
};
