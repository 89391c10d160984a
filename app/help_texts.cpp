#include "app/help_texts.h"

#include <cstdio>

namespace kv {

const TextLines& about_text() {
  static const TextLines lines = {
      "The Korvanta Tools Program allows you to:",
      "",
      "1) Download and analyse your logged Korvanta",
      "Data. You can save the data to disc, plot the",
      "data to screen and review your lap times quickly",
      "and easily.",
      "",
      "Enter you vehicle setup in the setup notes option.",
      "This will be saved with your data or as a seperate",
      "setup file you can load at each track day or race",
      "event.",
      "",
      "2) Configure your Korvnta from your PC. No need",
      "to enter the setup menus on the Korvanta. Use",
      "the configuration screen to set the Korvanta into",
      "different configurations. Save and load those",
      "configurations to and from disc.",
      "",
      "3) Calculate the calibration parameters. These",
      "parameters calibrate your speedometer,",
      "odometer and gear indicator for different tyre",
      "types and sizes, differential ratio and speed",
      "sensor position.",
  };
  return lines;
}

const TextLines& download_help_text() {
  static const TextLines lines = {
      "Hold the mouse pointer over each option in the menu for a",
      "helpful hint on what the button or option actually does.",
      "",
      "In order to download the logged data from the Korvanta go",
      "through the following steps.",
      "",
      "1) Connect a serial lead from the Korvanta to an available COM or",
      "serial port on your computer. Use a staight through serial lead. A",
      "Null Modem or Twist lead will not work.",
      "",
      "2) Set the Korvanta into Data Transfer Mode. Press and hold",
      "'Select B' or External Button 2 on Korvanta power up.",
      "",
      "3) Go into the Korvanta Log Analysis menu in the Korvanta Tools.",
      "",
      "4) Select a unused COM port on your computer. Normally COM 1.",
      "This will not open if another application is using it.",
      "",
      "5) Press the download button. This will start the download process.",
      "If there were any problems encountered then check the procedure",
      "above has been followed correctly. Use the Clear button to wipe",
      "the memory in your korvanta for your next logging session.",
      "",
      "6) Once the data has been downloaded save it to a file so you can",
      "load the file at a later date. Now you can plot the data and view",
      "your lap times.",
  };
  return lines;
}

const TextLines& configure_help_text() {
  static const TextLines lines = {
      "You can configure your Korvanta in two ways.",
      "",
      "The first is to use the LCD menu system on the Korvanta itself.",
      "Press",
      "and  hold 'Select A'  or External Button 1 on Korvanta power up.",
      "",
      "The second is to use your computer. This will allow you to quickly",
      "and easily configure the Korvanta and also allow you to save and",
      "load different configurations at will.",
      "",
      "Hold the mouse pointer over each option in the menu for a helpful",
      "hint on what each button or item actually does.",
      "",
      "If you want to configure the Korvanta from your computer then go",
      "through the following steps.",
      "",
      "1) Connect a serial lead from the Korvanta to an available COM or",
      "serial port on your computer. Use a straight through serial lead. A",
      "Null Modem or Twist lead will not work.",
      "",
      "2) Set the Korvanta into Data Transfer Mode. Press and hold",
      "'Select B' or External Button 2 on Korvanta power up.",
      "",
      "3) Go into the Korvanta Setup menu in the Korvanta Tools.",
      "",
      "4) Select an unused COM port on your computer. Normally COM 1.",
      "This will not open if another application is using it.",
      "",
      "5) Modify and save the configuration form or load a setup from file.",
      "Finally upload the configuration to the Korvanta. It might be useful",
      "to download and save the factory settings on the Korvanta before",
      "uploading your own.",
  };
  return lines;
}

const TextLines& calculator_help_text() {
  static const TextLines lines = {
      "Use the calculator to get your speedometer and gear calibration",
      "values. These should be entered when you setup your Korvanta",
      "with the setup menus on the Korvanta or using the configuration",
      "tools in this program.",
      "",
      "These Speedo Cal and Gear Cal values in the configuration are",
      "dependant on speedo sensor position,  tyre size and differential",
      "ratio. It is important you calculate these correctly in order to get",
      "accurate Korvanta readings for speed, odometer and gear.",
      "",
      "1) Select your driven wheels and speedo sensor position.",
      "",
      "2) Select your tyre type. e.g. Standard road tyre, slick tyres or",
      "unknown.",
      "",
      "3) From the tyre type selection you must enter the sizes of the",
      "tyres you are using. In some cases, depending on speedo sensor",
      "position you may have to enter a combination of front and rear",
      "tyre sizes.",
      "",
      "Most road and race tyres have markings indicating the tyre size.",
      "If there are no markings or they do not conform to the type",
      "supported  here then simply enter the tyre circumference.",
      "",
      "4) Now use the calculated Speedo Cal and Gear Cal values in the",
      "Korvanta setup mode or in the configuration form in the Korvanta",
      "Tools.",
  };
  return lines;
}

std::string version_text() {
  constexpr int kMajor = 1;
  constexpr int kMinor = 21;
  char text[64];
  std::snprintf(text, sizeof text, "Korvanta Tools Version %d.%.2d", kMajor, kMinor);
  return text;
}

}  // namespace kv
