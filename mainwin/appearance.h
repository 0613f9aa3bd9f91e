#pragma once

void logoMarkCommand();
void mainColorCommand();
void countdownBackColorCommand();
void countdownForeColorCommand();
