#include "testing/PresentationTexts.h"

#include <QStringList>

namespace tov::testing {

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString CR = QStringLiteral("\r");

// The general instructions are written for this program; the sentence that ends them is the
// one the section screens use too.
const QStringList kGeneralEnglish = {
    QStringLiteral(
        "The statements that follow are about you and your own life, and your answers are kept "
        "confidential. Answer each one truthfully and honestly. Your answers may be compared "
        "with court and driving records, and dishonest answers will likely be detected."),
    QStringLiteral(
        "A series of questions will be shown to you, one at a time. Read each statement and "
        "decide which answer is accurate for you. Highlight that answer with the Down Arrow key, "
        "then press Enter. An answer is highlighted when it is framed in light blue."),
    QStringLiteral(
        "Use the Up and Down Arrow keys to change your answer. The highlighted answer is the one "
        "taken when you press Enter. The Tab key repeats the question."),
    QStringLiteral(
        "In these statements, alcohol or drinking means beer, wine and any other liquor. Drugs "
        "means prescription and non-prescription drugs such as marijuana, cocaine, crack, "
        "amphetamines, barbiturates and heroin."),
    QStringLiteral(
        "If you have any questions, ask the testing supervisor now. Once you understand these "
        "instructions you may begin. Press the Enter key to begin."),
};

const QStringList kGeneralSpanish = {
    QStringLiteral(
        "Las oraciones que siguen tratan de usted y de su vida, y sus respuestas son "
        "confidenciales. Conteste cada una con la verdad y con honestidad. Sus respuestas pueden "
        "compararse con los registros del tribunal y de tránsito, y es probable que las "
        "respuestas deshonestas se descubran."),
    QStringLiteral(
        "Se le presentará una serie de preguntas, una a la vez. Lea cada oración y decida cuál "
        "respuesta es la correcta para usted. Ilumine esa respuesta con la tecla de flecha Hacia "
        "Abajo y luego oprima la tecla «Enter». Una respuesta está iluminada cuando aparece "
        "enmarcada en azul claro."),
    QStringLiteral(
        "Con las teclas de flechas Hacia Arriba y Hacia Abajo puede cambiar su respuesta. La "
        "respuesta iluminada es la que se toma cuando usted oprime «Enter». La tecla «Tab» "
        "repite la pregunta."),
    QStringLiteral(
        "En estas oraciones, alcohol o beber quiere decir cerveza, vino y cualquier otro licor. "
        "Drogas quiere decir drogas con receta médica o sin ella, como marihuana, cocaína, "
        "crack, anfetaminas, barbitúricos y heroína."),
    QStringLiteral(
        "Si tiene alguna pregunta, hágasela ahora al supervisor de la prueba. Cuando entienda "
        "estas instrucciones puede comenzar. Oprima la tecla «Enter» para comenzar."),
};

} // namespace

PresentationTexts::PresentationTexts(const QString& language) : spanish_(isSpanish(language)) {}

bool PresentationTexts::isSpanish(const QString& language) {
    return language.toUpper() == QLatin1String("SPANISH");
}

QString PresentationTexts::caption() const {
    return spanish_ ? QStringLiteral("Presentación de preguntas")
                    : QStringLiteral("Question Presentation");
}

QString PresentationTexts::instructionsHelp() const {
    return spanish_ ? QStringLiteral("Oprima la tecla «Enter» para seguir.")
                    : QStringLiteral("When ready press Enter to continue.");
}

QString PresentationTexts::questionHelp() const {
    return spanish_
               ? QStringLiteral("Oprima las teclas de flechas Hacia Arriba o Hacia Abajo para "
                                "iluminar su respuesta. Luego oprima la tecla «Enter». Oprima la "
                                "tecla «F10» para ver la pregunta anterior.")
               : QStringLiteral("Use Up or Down arrow keys to highlight answer, then press Enter. "
                                "Press F10 to go back to previous question.");
}

QString PresentationTexts::answerHelp(bool soundOn) const {
    if (spanish_) {
        return QStringLiteral("Ilumine la respuesta que usted escoja y luego oprima la tecla "
                              "«Enter».");
    }
    return soundOn ? QStringLiteral("Press Enter to select this answer. Press Tab or Arrows to "
                                    "hear question again.")
                   : QStringLiteral("Press Enter to select this answer.");
}

QString PresentationTexts::instructions(int number) const {
    switch (number) {
    case 0: {
        if (spanish_) {
            QString text = QStringLiteral("Instrucciones") + CRLF;
            for (qsizetype i = 0; i < kGeneralSpanish.size(); ++i) {
                text += QStringLiteral("     ") + kGeneralSpanish[i];
                if (i + 1 < kGeneralSpanish.size()) {
                    text += CRLF;
                }
            }
            return text;
        }
        return QStringLiteral("General Instructions") + CRLF + CRLF +
               kGeneralEnglish.join(CRLF + CRLF);
    }
    case 1:
        if (spanish_) {
            return QStringLiteral(
                       "Las oraciones de esta sección deben contestarse con «Cierto» o ") +
                   QStringLiteral("«Falso». Si la oración es cierta, ilumine el área que ") +
                   QStringLiteral("dice «Cierto» y entonces apriete «Enter». Si la oración es "
                                  "falsa, ") +
                   QStringLiteral(
                       "ilumine el  área que dice «Falso» y entonces apriete «Enter». ") +
                   QStringLiteral("Oprima la tecla «Enter» para comenzar.");
        }
        return QStringLiteral("Section 1") + CRLF + CRLF +
               QStringLiteral("The statements in this section are to be answered TRUE or FALSE.") +
               CRLF + CRLF +
               QStringLiteral("If a statement is TRUE highlight \"True\" then press Enter.") +
               CRLF + CRLF +
               QStringLiteral("If a statement is FALSE highlight \"False\" then press Enter.") +
               CRLF + CRLF + QStringLiteral("     Press Enter to begin.");
    case 2:
        if (spanish_) {
            return QStringLiteral("Las oraciones de esta sección deben describir su persona o "
                                  "circunstancias. ") +
                   QStringLiteral("Ilumine el número de la contestación que usted escoja y que más "
                                  "le acierte: ") +
                   QStringLiteral("1, 2, 3 ó 4. Luego oprima la tecla «Enter».");
        }
        return QStringLiteral("Section 2") + CRLF + CRLF +
               QStringLiteral("The statements in this section describe you or your situation. "
                              "Highlight the ") +
               QStringLiteral(
                   "answer (1, 2, 3 or 4) that is accurate for you, then press Enter. ") +
               CRLF + CRLF + QStringLiteral("     Press Enter to begin.");
    default:
        return {};
    }
}

QString PresentationTexts::partDoneTitle() const {
    return spanish_ ? QStringLiteral("Nota de Presentación") : QStringLiteral("Presentation Note");
}

QString PresentationTexts::partDoneText() const {
    return spanish_ ? QStringLiteral("Usted ha terminado esta parte de la prueba. Oprima la tecla "
                                     "«Enter» para seguir.")
                    : QStringLiteral("You have completed this part of the test. Press Enter to "
                                     "continue.");
}

QString PresentationTexts::testDoneTitle() const {
    return spanish_ ? QStringLiteral("Nota de Presentacion") : QStringLiteral("Presentation Note");
}

QString PresentationTexts::testDoneText() const {
    return spanish_ ? QStringLiteral("Usted ha terminado la prueba. Se le agradece su "
                                     "participacion.") +
                          CR + CR + QStringLiteral("Oprima la tecla <<Enter>> para terminar.")
                    : QStringLiteral("You have completed the test. Thank you for your "
                                     "participation.") +
                          CR + CR + QStringLiteral("Press Enter to continue.");
}

} // namespace tov::testing
